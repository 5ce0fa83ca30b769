#pragma once
// Menus and tool buttons declared as data: one row a command, with its
// caption, object name, handler and the condition under which it can be
// used. A command whose feature is not built yet has no handler and shows
// disabled; it comes alive by giving its row one.

#include <QAction>
#include <QPointer>
#include <QString>
#include <functional>
#include <string_view>
#include <vector>

class QAbstractButton;
class QHBoxLayout;
class QMenu;
class QMenuBar;
class QWidget;

namespace listora {

using Handler = std::function<void()>;
using Condition = std::function<bool()>;

struct MenuRow {
    enum class Kind { Command, Submenu, Separator };
    Kind kind = Kind::Command;
    QString caption;
    const char* name = nullptr;  // the action's object name
    Handler handler;             // none: shown, but cannot be used
    Condition enabledWhen;       // none: always usable once it has a handler
    bool checkable = false;
    std::vector<MenuRow> rows;  // of a submenu
};

MenuRow command(const QString& caption, const char* name, Handler handler, Condition enabledWhen = {});
MenuRow checkableCommand(const QString& caption, const char* name, Handler handler);
MenuRow submenu(const QString& caption, std::vector<MenuRow> rows);
MenuRow separator();

struct ToolRow {
    const char* themeIcon;  // a freedesktop icon name
    const char* picture;    // the program's own picture when the theme has none
    QString hint;
    const char* name;  // the button's object name
    Handler handler;   // none: shown, but cannot be used
    Condition enabledWhen;
};

// Builds the controls of the rows and keeps each one's condition, so that
// refresh() can enable exactly the usable ones. Every handler runs through
// the one runner given, which reports what a command throws.
class CommandSet {
public:
    using Runner = std::function<void(const Handler&)>;
    explicit CommandSet(Runner runner) : runner_(std::move(runner)) {}
    CommandSet(const CommandSet&) = delete;
    CommandSet& operator=(const CommandSet&) = delete;

    void addMenus(QMenuBar& bar, const std::vector<MenuRow>& menus);
    void addRows(QMenu& menu, const std::vector<MenuRow>& rows);
    // A row of flat tool buttons, 23 × 22 with 16-pixel icons.
    void addToolButtons(QHBoxLayout& layout, QWidget& parent, const std::vector<ToolRow>& rows);

    // A button laid out by hand, run and enabled as the rows are.
    void addButton(QAbstractButton& button, Handler handler, Condition enabledWhen = {});

    // The action of a command row by its object name; throws when none has it.
    QAction* action(std::string_view name) const;

    // Enables each control whose row has a handler and whose condition holds.
    void refresh();

private:
    struct Control {
        QPointer<QWidget> widget;
        QPointer<QAction> action;
        bool hasHandler = false;
        Condition enabledWhen;
    };
    void add(Control control);
    // Runs a handler through the runner; a copy of both, so that a control
    // that outlives the set still runs it.
    std::function<void()> runs(const Handler& handler) const;
    static void apply(const Control& control);

    Runner runner_;
    std::vector<Control> controls_;
};

}  // namespace listora
