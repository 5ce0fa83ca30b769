#include "ui/common/command_rows.h"

#include "ui/common/program_icon.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <stdexcept>

namespace listora {

MenuRow command(const QString& caption, const char* name, Handler handler, Condition enabledWhen) {
    MenuRow row;
    row.caption = caption;
    row.name = name;
    row.handler = std::move(handler);
    row.enabledWhen = std::move(enabledWhen);
    return row;
}

MenuRow checkableCommand(const QString& caption, const char* name, Handler handler) {
    MenuRow row = command(caption, name, std::move(handler));
    row.checkable = true;
    return row;
}

MenuRow submenu(const QString& caption, std::vector<MenuRow> rows) {
    MenuRow row;
    row.kind = MenuRow::Kind::Submenu;
    row.caption = caption;
    row.rows = std::move(rows);
    return row;
}

MenuRow separator() {
    MenuRow row;
    row.kind = MenuRow::Kind::Separator;
    return row;
}

std::function<void()> CommandSet::runs(const Handler& handler) const {
    return [runner = runner_, handler] { runner(handler); };
}

void CommandSet::addMenus(QMenuBar& bar, const std::vector<MenuRow>& menus) {
    for (const MenuRow& menu : menus) addRows(*bar.addMenu(menu.caption), menu.rows);
}

// Each menu brings its items up to date as it opens.
void CommandSet::addRows(QMenu& menu, const std::vector<MenuRow>& rows) {
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [this] { refresh(); });
    for (const MenuRow& row : rows) {
        switch (row.kind) {
            case MenuRow::Kind::Separator:
                menu.addSeparator();
                break;
            case MenuRow::Kind::Submenu:
                addRows(*menu.addMenu(row.caption), row.rows);
                break;
            case MenuRow::Kind::Command: {
                QAction* action = menu.addAction(row.caption);
                action->setObjectName(QString::fromLatin1(row.name));
                action->setCheckable(row.checkable);
                if (row.handler) QObject::connect(action, &QAction::triggered, action, runs(row.handler));
                add({nullptr, action, static_cast<bool>(row.handler), row.enabledWhen});
                break;
            }
        }
    }
}

void CommandSet::addToolButtons(QHBoxLayout& layout, QWidget& parent, const std::vector<ToolRow>& rows) {
    for (const ToolRow& row : rows) {
        auto* tool = new QToolButton(&parent);
        tool->setObjectName(QString::fromLatin1(row.name));
        tool->setAutoRaise(true);
        tool->setFixedSize(23, 22);
        tool->setIconSize(QSize(16, 16));
        tool->setIcon(toolIcon(row.themeIcon, row.picture));
        tool->setToolTip(row.hint);
        layout.addWidget(tool);
        addButton(*tool, row.handler, row.enabledWhen);
    }
}

void CommandSet::addButton(QAbstractButton& button, Handler handler, Condition enabledWhen) {
    if (handler) QObject::connect(&button, &QAbstractButton::clicked, &button, runs(handler));
    add({&button, nullptr, static_cast<bool>(handler), std::move(enabledWhen)});
}

void CommandSet::add(Control control) {
    controls_.push_back(std::move(control));
    apply(controls_.back());
}

QAction* CommandSet::action(std::string_view name) const {
    for (const Control& control : controls_)
        if (control.action && control.action->objectName() == QLatin1String(name.data(), name.size()))
            return control.action;
    throw std::logic_error("no command " + std::string(name));
}

void CommandSet::refresh() {
    for (const Control& control : controls_) apply(control);
}

void CommandSet::apply(const Control& control) {
    const bool enabled = control.hasHandler && (!control.enabledWhen || control.enabledWhen());
    if (control.widget) control.widget->setEnabled(enabled);
    if (control.action) control.action->setEnabled(enabled);
}

}  // namespace listora
