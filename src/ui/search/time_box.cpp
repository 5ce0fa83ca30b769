#include "ui/search/time_box.h"

#include "core/search/search_rule.h"

#include <QLineEdit>

namespace listora {

TimeBox::TimeBox(QWidget* parent) : QSpinBox(parent) {
    setRange(0, 60);
    setSingleStep(1);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State TimeBox::validate(QString&, int&) const { return QValidator::Acceptable; }

int TimeBox::valueFromText(const QString& text) const { return clampedTimeValue(text.toStdString()); }

void TimeBox::focusOutEvent(QFocusEvent* event) {
    QSpinBox::focusOutEvent(event);
    const int settled = clampedTimeValue(text().toStdString());
    setValue(settled);
    lineEdit()->setText(textFromValue(settled));
}

void TimeBox::fixup(QString& input) const { input = QString::number(clampedTimeValue(input.toStdString())); }

}  // namespace listora
