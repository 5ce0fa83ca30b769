#pragma once
// The log viewer: pick a day of the operation log, see what was moved,
// copied or deleted that day, and select records by a word in one column.
// Created once and shown modally; the search inputs keep their values
// between openings, the day box and the record list are rebuilt.

#include "core/logview/log_viewer.h"

#include <QDialog>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace listora {

class FileSystem;
class ListSelectionModel;
class LogRecordModel;
class Prompts;

class TForm5 : public QDialog {
    Q_OBJECT
public:
    TForm5(FileSystem& fs, Prompts& prompts, std::string logFolder, QWidget* parent = nullptr);
    ~TForm5() override;

    // Rebuilds the day box, empties the list and shows the window modally.
    void openLog();
    // The same without waiting: for a window shown some other way.
    void prepareOpening();

    QComboBox* dayBox() const { return dayBox_; }
    QTableView* recordList() const { return list_; }
    QLineEdit* wordBox() const { return word_; }
    QPushButton* searchButton() const { return search_; }
    QPushButton* closeButton() const { return close_; }
    QRadioButton* positionButton(LogColumn column) const { return positions_[static_cast<int>(column)]; }
    QCheckBox* refineBox() const { return refine_; }

private:
    void loadDay(const QString& name);
    void search();

    Prompts& prompts_;
    LogViewer viewer_;
    LogRecordModel* model_ = nullptr;
    ListSelectionModel* selection_ = nullptr;
    QComboBox* dayBox_ = nullptr;
    QPushButton* close_ = nullptr;
    QTableView* list_ = nullptr;
    QLineEdit* word_ = nullptr;
    QPushButton* search_ = nullptr;
    QRadioButton* positions_[3] = {};
    QCheckBox* refine_ = nullptr;
};

}  // namespace listora
