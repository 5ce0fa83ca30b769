#pragma once
// The search window: collects where and what to search and hands it to the
// main window, which selects the rows. Modeless; each opening makes a new
// one with the defaults, and closing destroys it.

#include "core/search/search_rule.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace listora {

class FolderPicker;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    // The chooser serves "・・・"; without one the button is disabled.
    explicit TForm3(FolderPicker* picker, QWidget* parent = nullptr);

    SearchSettings settings() const;

    QRadioButton* positionButton(SearchPosition position) const;
    QLabel* promptLabel() const { return prompt_; }
    QLineEdit* textBox() const { return text_; }
    QSpinBox* minutesBox() const { return minutes_; }
    QSpinBox* secondsBox() const { return seconds_; }
    QComboBox* comparisonBox() const { return comparison_; }
    QCheckBox* caseSensitiveBox() const { return caseSensitive_; }
    QCheckBox* refineBox() const { return refine_; }
    QPushButton* chooseFolderButton() const { return chooseFolder_; }
    QPushButton* searchButton() const { return search_; }
    QPushButton* cancelButton() const { return cancel_; }

signals:
    void searchRequested(const listora::SearchSettings& settings);

private:
    SearchPosition position() const;
    void showInputsFor(SearchPosition position);
    void chooseFolder();

    FolderPicker* picker_;
    QRadioButton* positions_[4] = {};
    QLabel* prompt_ = nullptr;
    QLineEdit* text_ = nullptr;
    QLabel* minutesLabel_ = nullptr;
    QLabel* secondsLabel_ = nullptr;
    QSpinBox* minutes_ = nullptr;
    QSpinBox* seconds_ = nullptr;
    QComboBox* comparison_ = nullptr;
    QCheckBox* caseSensitive_ = nullptr;
    QCheckBox* refine_ = nullptr;
    QPushButton* chooseFolder_ = nullptr;
    QPushButton* search_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace listora
