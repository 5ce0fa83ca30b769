#pragma once
// The repair window: the folders to search (kept while the program runs),
// the search's settings, the result list with what to apply, and the
// replacement of a folder in every path. Made once and shown modally over
// the main list's rows; it changes no row itself but hands the repairs and
// replacements to the main window by signals.

#include "core/repair/folder_replacement.h"
#include "core/repair/repair_choices.h"
#include "core/repair/repair_progress.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableView;

namespace listora {

class FileSystem;
class FolderPicker;
class MainList;
class RepairResultModel;

class RepairWindow : public QDialog, public RepairProgress {
    Q_OBJECT
public:
    RepairWindow(FileSystem& fs, const PathRules& rules, FolderPicker* picker, QWidget* parent = nullptr);

    // Shows the window modally over the list's rows, with no results yet.
    void openFor(const MainList& list);
    // What the main window says after a replacement: how many paths changed.
    void showReplaced(std::size_t count);

    // The search's steps, while it runs: the window paints and its "中止"
    // button works, nothing else.
    bool carryOn(const RepairStep& step) override;

    const RepairChoices& choices() const { return choices_; }
    QListWidget* folderList() const { return folders_; }
    QPushButton* addFolderButton() const { return addFolder_; }
    QPushButton* removeFolderButton() const { return removeFolder_; }
    QCheckBox* ignoreCaseBox() const { return ignoreCase_; }
    QCheckBox* closestBox() const { return closest_; }
    QPushButton* searchButton() const { return search_; }
    QPushButton* stopButton() const { return stop_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* summaryLabel() const { return summary_; }
    QTableView* resultView() const { return results_; }
    RepairResultModel* resultModel() const { return model_; }
    QLineEdit* replaceFromBox() const { return replaceFrom_; }
    QLineEdit* replaceToBox() const { return replaceTo_; }
    QPushButton* replaceButton() const { return replace_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* closeButton() const { return close_; }

signals:
    void repairsChosen(const std::vector<listora::RowRepair>& repairs);
    void folderReplaceRequested(const listora::FolderReplacement& replacement);

public slots:
    // Escape and the close box stop a running search instead.
    void reject() override;

private:
    QLayout* buildFolders();
    QLayout* buildReplacement();
    void addFolder();
    void searchNow();
    void setSearching(bool searching);
    void showSummary();
    void clearResults();

    FileSystem& fs_;
    PathRules rules_;
    FolderPicker* picker_;
    const MainList* list_ = nullptr;
    RepairChoices choices_;
    bool searching_ = false;
    bool stopAsked_ = false;

    QListWidget* folders_ = nullptr;
    QPushButton* addFolder_ = nullptr;
    QPushButton* removeFolder_ = nullptr;
    QCheckBox* ignoreCase_ = nullptr;
    QCheckBox* closest_ = nullptr;
    QPushButton* search_ = nullptr;
    QPushButton* stop_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* summary_ = nullptr;
    QTableView* results_ = nullptr;
    RepairResultModel* model_ = nullptr;
    QLineEdit* replaceFrom_ = nullptr;
    QLineEdit* replaceTo_ = nullptr;
    QPushButton* chooseReplaceTo_ = nullptr;
    QPushButton* replace_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace listora
