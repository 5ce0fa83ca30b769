#pragma once
// The main window: lays out the menus, the toolbar strip, the destination
// box, the list and the status line, and forwards each event to one core
// command. It owns the shared state.

#include "app/main_commands.h"
#include "app/main_state.h"
#include "app/program_files.h"
#include "fileops/choosers.h"
#include "platform/status_line.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QItemSelection;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QTableView;
class QToolButton;

namespace listora {

class Clock;
class FileSystem;
class PlaylistTableModel;
class Prompts;
class Shell;

// The status line shows each text at once, also while a long command holds
// the window.
class LabelStatusLine : public StatusLine {
public:
    void setLabel(QLabel* label) { label_ = label; }
    void show(const std::string& text) override;

private:
    QLabel* label_ = nullptr;
};

// The local files and folders in what was dropped, in the order given.
std::vector<std::string> droppedPaths(const QMimeData& data);

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(FileSystem& fs, Prompts& prompts, const Clock& clock, Shell& shell, ProgramFiles files,
           QWidget* parent = nullptr);
    ~TForm1() override;

    // The folder chooser is made after the main window.
    void setFolderPicker(FolderPicker* picker);
    // So is the name input window, which renaming asks.
    void setNameAsker(NameAsker* asker);

    MainState& state() { return state_; }
    QTableView* listView() const { return list_; }
    QLineEdit* destinationBox() const { return destination_; }
    QLabel* statusLine() const { return status_; }
    QMenu* listPopupMenu() const { return popup_; }

    // Queues dropped paths, in the order given, and gathers them.
    void dropPaths(const std::vector<std::string>& paths);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    template <typename Command>
    void run(Command&& command);

    QAction* addCommand(QMenu* menu, const QString& caption, const char* name, void (TForm1::*handler)());
    QAction* addLaterCommand(QMenu* menu, const QString& caption, const char* name);
    void buildMenus();
    void buildStrip();
    void buildList();
    void buildPopupMenu();

    void newPlaylist();
    void openPlaylist();
    void loadReplacing();
    void loadAppending();
    void savePlaylist();
    void toggleAutoSave();
    void exitProgram();
    void move();
    void copy();
    void moveAndSave();
    void copyAndSave();
    void chooseDestination();
    void gatherFolder();
    void gather();
    void renameFile();
    void updatePopupMenu();
    template <typename Command>
    QAction* addListCommand(QMenu* menu, const QString& caption, const char* name, Command command);

    void mirrorSelectionFromCore();
    void takeSelectionFromView(const QItemSelection& selected, const QItemSelection& deselected);

    FileSystem& fs_;
    Prompts& prompts_;
    ProgramFiles files_;
    LabelStatusLine statusLine_;
    MainState state_;
    MainCommands commands_;

    PlaylistTableModel* model_ = nullptr;
    QTableView* list_ = nullptr;
    QLineEdit* destination_ = nullptr;
    QLabel* status_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* autoSaveAction_ = nullptr;
    QAction* gatherFolderAction_ = nullptr;
    QToolButton* chooseFolderButton_ = nullptr;
    FolderPicker* folderPicker_ = nullptr;
    NameAsker* nameAsker_ = nullptr;
    QAction* renameAction_ = nullptr;
    QAction* pasteAction_ = nullptr;
    bool mirroringSelection_ = false;
};

}  // namespace listora
