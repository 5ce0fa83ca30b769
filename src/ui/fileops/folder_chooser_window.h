#pragma once
// The folder chooser: a tree of folders from which the user picks one for
// the destination box, the search text or the folders to gather, and in
// which new folders can be made.

#include "core/ports/choosers.h"

#include <QDialog>

class QFileSystemModel;
class QPushButton;
class QTreeView;

namespace listora {

class TForm2 : public QDialog, public FolderPicker {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // The name input window is made after the chooser, so it comes later.
    void setNameAsker(NameAsker* asker) { nameAsker_ = asker; }

    std::optional<std::string> pickFolder(FolderPurpose purpose) override;
    FolderPurpose purpose() const { return purpose_; }

    // The selected folder's path; empty when none is selected.
    std::string chosenPath() const;
    void selectFolder(const std::string& path);

    QTreeView* tree() const { return tree_; }
    QPushButton* newFolderButton() const { return newFolder_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* noButton() const { return no_; }

    // Prepares a pick as pickFolder does, without showing the window; the
    // buttons then decide what pickResult holds.
    void preparePick(FolderPurpose purpose);
    const std::optional<std::string>& pickResult() const { return result_; }

private:
    void confirm();
    void makeNewFolder();

    QFileSystemModel* model_ = nullptr;
    QTreeView* tree_ = nullptr;
    QPushButton* newFolder_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* no_ = nullptr;
    NameAsker* nameAsker_ = nullptr;
    FolderPurpose purpose_ = FolderPurpose::Destination;
    std::optional<std::string> result_;
    bool shownBefore_ = false;
};

}  // namespace listora
