#pragma once
// The main window: lays out the menus, the toolbar strip, the destination
// box, the list and the status line, and forwards each event to one core
// command. It owns the shared state. Its commands are declared as rows in
// main_window_commands.cpp.

#include "core/app/main_commands.h"
#include "core/app/main_state.h"
#include "core/app/program_files.h"
#include "core/ports/choosers.h"
#include "ui/common/bar_read_progress.h"
#include "ui/common/command_rows.h"
#include "ui/common/label_status_line.h"
#include "ui/common/window_slot.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string_view>

class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QTableView;

namespace listora {

class Clock;
class MediaPlayer;
class FileSystem;
class ListSelectionModel;
class PlaylistTableModel;
class Prompts;
class RepairWindow;
class TForm5;
class TForm6;
class TForm7;
class Shell;
class TagReader;

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
    // And the comparison window, which takes the Save dialog's memory.
    void setComparisonWindow(TForm6* window);
    // The playback windows' media back end, one for each window.
    using MediaPlayerFactory = std::function<std::unique_ptr<MediaPlayer>()>;
    void setPlayerFactory(MediaPlayerFactory factory);
    // And the log viewer and the About window.
    void setLogWindow(TForm5* window);
    void setAboutWindow(TForm7* window);
    // The reader of music files' tags; without one the commands reading
    // tags are disabled.
    void setTagReader(std::shared_ptr<TagReader> reader);

    MainState& state() { return state_; }
    const ProgramFiles& programFiles() const { return files_; }
    QTableView* listView() const { return list_; }
    QLineEdit* destinationBox() const { return destination_; }
    QLabel* statusLine() const { return status_; }
    // Shown while a long playlist is read.
    QProgressBar* readProgressBar() const { return readBar_; }
    QMenu* listPopupMenu() const { return popup_; }

    // The open search and playback windows, if they are.
    QWidget* searchWindow() const { return searchWindow_.window(); }
    QWidget* playWindow() const { return playWindow_.window(); }
    // The repair window, once it was opened; it stays with its folders.
    RepairWindow* repairWindow() const { return repairWindow_; }

    // Queues dropped paths, in the order given, and gathers them.
    void dropPaths(const std::vector<std::string>& paths);
    // The same on the event loop's next turn: after a drop has returned, or
    // once the window is up (on the screen, or a second gone) for the paths
    // listora was started with.
    void dropPathsSoon(std::vector<std::string> paths);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The rows of main_window_commands.cpp.
    std::vector<MenuRow> menuRows();
    std::vector<std::vector<ToolRow>> toolRows();
    std::vector<MenuRow> popupRows();

    static constexpr int kShowWaits = 50;
    void dropPathsOnceShown(std::vector<std::string> paths, int waitsLeft);

    void buildStrip();
    void buildList();
    void buildPopupMenu();

    Handler call(void (TForm1::*handler)());
    void newPlaylist();
    void openPlaylist();
    void savePlaylist();
    void moveFiles();
    void copyFiles();
    void moveFilesAndSave();
    void copyFilesAndSave();
    // Moves or copies under the busy cursor, then saves when asked to.
    void transferFiles(TransferMode mode, bool thenSave);
    void toggleAutoSave();
    void chooseDestination();
    void gatherFolder();
    void gather();
    void readTags();
    // Flips an Options.ini setting, its state and its menu item's check.
    void toggleOption(std::string_view key, bool& setting, QAction& action);
    void renameFile();
    void openSearchWindow();
    void comparePlaylists();
    void openLogWindow();
    void openRepairWindow();
    void openPlayWindow();
    void playEntry();
    void search(const SearchSettings& settings);

    FileSystem& fs_;
    Prompts& prompts_;
    Shell& shell_;
    ProgramFiles files_;
    LabelStatusLine statusLine_;
    BarReadProgress readProgress_;
    MainState state_;
    MainCommands commands_;
    CommandSet commandSet_;

    PlaylistTableModel* model_ = nullptr;
    ListSelectionModel* selection_ = nullptr;
    QTableView* list_ = nullptr;
    QLineEdit* destination_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* readBar_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* autoSaveAction_ = nullptr;
    QAction* readTagsOnAddAction_ = nullptr;
    QAction* allMusicTypesAction_ = nullptr;
    FolderPicker* folderPicker_ = nullptr;
    NameAsker* nameAsker_ = nullptr;
    TForm5* logWindow_ = nullptr;
    TForm7* aboutWindow_ = nullptr;
    TForm6* comparisonWindow_ = nullptr;
    RepairWindow* repairWindow_ = nullptr;
    WindowSlot searchWindow_;
    WindowSlot playWindow_;
    MediaPlayerFactory makePlayer_;
    bool closeRefused_ = false;
    // While tags are read (or the repair window is open) the dialog's steps
    // handle events: a drop waits, and the window does not close under them.
    bool readingTags_ = false;
};

}  // namespace listora
