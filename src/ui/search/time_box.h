#pragma once
// A minutes or seconds box of the search window: 0 to 60 with up and down
// arrows stepping by 1. Any text may be typed; when the box loses the focus
// a number beyond a bound becomes that bound and text that is no number
// becomes 0. (A plain spin box would refuse such keys while they are typed.)

#include <QSpinBox>

namespace listora {

class TimeBox : public QSpinBox {
    Q_OBJECT
public:
    explicit TimeBox(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    void fixup(QString& input) const override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace listora
