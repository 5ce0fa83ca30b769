#include "ui/main/main_window.h"

#include "core/app/start_arguments.h"
#include "core/native/native_file_system.h"
#include "core/paths/path_rules.h"
#include "support/core_fixture.h"
#include "support/fake_media_player.h"
#include "support/fixed_ports.h"
#include "support/numbered_playlist.h"
#include "support/painted_rows.h"
#include "support/scripted_choosers.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "ui/common/dropped_paths.h"
#include "ui/common/list_selection_model.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

class MainWindow : public CoreFixture {
protected:
    std::unique_ptr<TForm1> makeForm() {
        auto form = std::make_unique<TForm1>(
            fs, prompts, clock, shell,
            ProgramFiles{dir.path("Inf.ini"), dir.path("Log/"), dir.path("ReadMe.txt"), dir.path("Options.ini")});
        form->show();
        return form;
    }
    static QAction* action(TForm1& form, const char* name) { return form.findChild<QAction*>(name); }
    static QToolButton* button(TForm1& form, const char* name) { return form.findChild<QToolButton*>(name); }
    static QStringList shownColumn(TForm1& form, int column) {
        QStringList texts;
        QAbstractItemModel* model = form.listView()->model();
        for (int row = 0; row < model->rowCount(); ++row) texts << model->index(row, column).data().toString();
        return texts;
    }
};

TEST_F(MainWindow, AutoSaveSettingSurvivesARestart) {
    auto form = makeForm();
    EXPECT_EQ(readFile(dir.path("Inf.ini")), "1\r\n");
    QAction* autoSave = action(*form, "menuAutoSave");
    EXPECT_FALSE(autoSave->isChecked());
    autoSave->trigger();
    EXPECT_TRUE(form->state().autoSave);
    EXPECT_EQ(readFile(dir.path("Inf.ini")), "1\r\n");  // nothing is written before the close
    action(*form, "menuExit")->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(readFile(dir.path("Inf.ini")), "0\r\n");

    auto again = makeForm();
    EXPECT_TRUE(action(*again, "menuAutoSave")->isChecked());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MainWindow, StaysOpenWhenTheSettingCannotBeWrittenAtClose) {
    auto form = makeForm();
    std::filesystem::remove(dir.path("Inf.ini"));
    std::filesystem::create_directory(dir.path("Inf.ini"));
    form->close();
    EXPECT_TRUE(form->isVisible());
    const std::string message = "error: ファイル " + dir.path("Inf.ini") + " を作成できません.";
    EXPECT_EQ(prompts.shown, std::vector<std::string>{message});
    form->close();  // the second close ends the program, after saying so again
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(prompts.shown, (std::vector<std::string>{message, message}));
}

TEST_F(MainWindow, OpenShowsTheRowsAndAHeaderClickSortsWithSelectionAndChecks) {
    const std::string list = dir.write(
        "l.m3u", crlf({"#EXTM3U", "#EXTINF:600,c", "c.mp3", "#EXTINF:5,a", "a.mp3", "#EXTINF:61,B", "b.mp3"}));
    auto form = makeForm();
    prompts.answer(Answer::Yes).choose(FileChoice{list});
    QTest::mouseClick(button(*form, "buttonOpen"), Qt::LeftButton);
    EXPECT_EQ(shownColumn(*form, 0), (QStringList{"c", "a", "B"}));
    EXPECT_EQ(shownColumn(*form, 1), (QStringList{"10:00", "0:05", "1:01"}));

    // Select "c" in the view and tick "a" in its check box.
    QTableView* view = form->listView();
    view->selectRow(0);
    view->model()->setData(view->model()->index(1, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_TRUE(form->state().list.at(0).selected);
    EXPECT_TRUE(form->state().list.at(1).checked);

    QHeaderView* header = view->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, 5));
    EXPECT_EQ(shownColumn(*form, 0), (QStringList{"a", "B", "c"}));
    EXPECT_EQ(view->model()->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(ListSelectionModel::of(*view)->selectedRowNumbers(), std::vector<std::size_t>{2});
    EXPECT_EQ(paintedSelectedRows(*view), std::vector<std::size_t>{2});
    EXPECT_EQ(view->selectionModel()->currentIndex().row(), 2);  // the focus row moved with "c"

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, 5));
    EXPECT_EQ(shownColumn(*form, 1), (QStringList{"0:05", "1:01", "10:00"}));
}

TEST_F(MainWindow, NewAndSaveGoThroughTheDialogs) {
    const std::string list = dir.write("l.m3u", crlf({"#EXTM3U", "a.mp3"}));
    auto form = makeForm();
    prompts.choose(FileChoice{list});
    action(*form, "menuLoadReplacing")->trigger();
    prompts.choose(FileChoice{dir.path("saved.m3u"), 1});
    QTest::mouseClick(button(*form, "buttonSave"), Qt::LeftButton);
    EXPECT_EQ(readFile(dir.path("saved.m3u")), crlf({"#EXTM3U", dir.path("a.mp3")}));
    EXPECT_EQ(form->state().currentPlaylistFile, dir.path("saved.m3u"));

    prompts.answer(Answer::No);
    QTest::mouseClick(button(*form, "buttonNew"), Qt::LeftButton);
    EXPECT_EQ(form->listView()->model()->rowCount(), 0);
    EXPECT_EQ(form->state().currentPlaylistFile, "");
}

TEST_F(MainWindow, ShowsReadErrorsInTheStandardErrorBox) {
    auto form = makeForm();
    prompts.choose(FileChoice{dir.path("gone.m3u")});
    action(*form, "menuLoadAppending")->trigger();
    EXPECT_EQ(prompts.shown.back(), "error: ファイル " + dir.path("gone.m3u") + " は開けません.");
    EXPECT_TRUE(form->isVisible());
}

// Notes, at each step of the bar, whether it is shown, and counts its paints.
class ProgressWatch : public QObject {
public:
    explicit ProgressWatch(QProgressBar& bar) : bar_(bar) {
        bar.installEventFilter(this);
        connect(&bar, &QProgressBar::valueChanged, this, [this](int value) {
            values.push_back(value);
            shownAtEachStep = shownAtEachStep && bar_.isVisible();
        });
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
    std::vector<int> values;
    bool shownAtEachStep = true;
    int paints = 0;

private:
    QProgressBar& bar_;
};

// The bar in the status bar shows while a long playlist is read, opened or
// dropped, and paints as it goes though the read holds the window; it goes
// when the read ends, also with an error.
TEST_F(MainWindow, ALongReadShowsItsProgressWhileItLasts) {
    auto form = makeForm();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));  // a window not on the screen paints nothing
    QProgressBar* bar = form->readProgressBar();
    std::string text = numberedPlaylist(kRowsOfALongRead);
    const std::string good = dir.write("long.m3u", text);
    text.replace(text.find("#EXTINF:61,Title 400000"), 10, "#EXTINF:6x");
    const std::string bad = dir.write("bad.m3u", text);
    EXPECT_FALSE(bar->isVisible());

    ProgressWatch opened(*bar);
    prompts.choose(FileChoice{good});
    action(*form, "menuLoadReplacing")->trigger();
    EXPECT_EQ(form->listView()->model()->rowCount(), static_cast<int>(kRowsOfALongRead));
    ASSERT_FALSE(opened.values.empty());
    EXPECT_EQ(opened.values.back(), 100);
    EXPECT_TRUE(opened.shownAtEachStep);
    EXPECT_GT(opened.paints, 0);  // the bar is hidden but for the read: these paints were during it
    EXPECT_FALSE(bar->isVisible());

    ProgressWatch dropped(*bar);
    form->dropPaths({bad});
    EXPECT_EQ(prompts.shown.back(), "error: '6x' is not a valid integer value.");
    EXPECT_EQ(form->listView()->model()->rowCount(), static_cast<int>(kRowsOfALongRead + 400000));
    ASSERT_FALSE(dropped.values.empty());
    EXPECT_LT(dropped.values.back(), 100);
    EXPECT_TRUE(dropped.shownAtEachStep);
    EXPECT_FALSE(bar->isVisible());
}

// A long playlist listora was started with is read once the window is on
// the screen, so that the window and the read's progress paint meanwhile.
TEST_F(MainWindow, AStartPlaylistIsReadOnceTheWindowCanPaint) {
    const std::string path = dir.write("long.m3u", numberedPlaylist(kRowsOfALongRead));
    auto form = makeForm();
    ProgressWatch started(*form->readProgressBar());
    form->dropPathsSoon({path});
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->listView()->model()->rowCount() > 0; }, 5000));
    EXPECT_FALSE(started.values.empty());
    EXPECT_GT(started.paints, 0);
}

TEST_F(MainWindow, MoveButtonMovesTheCheckedRowsAndShowsTheOutcome) {
    auto form = makeForm();
    prompts.choose(FileChoice{dir.write("l.m3u", crlf({"#EXTM3U", "a.mp3", "b.mp3"}))});
    action(*form, "menuLoadReplacing")->trigger();
    dir.write("a.mp3", "x");
    form->listView()->model()->setData(form->listView()->model()->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    form->listView()->model()->setData(form->listView()->model()->index(1, 0), Qt::Checked, Qt::CheckStateRole);
    QTest::keyClicks(form->destinationBox(), QString::fromStdString(dir.makeFolder("dest")));
    QTest::mouseClick(button(*form, "buttonMove"), Qt::LeftButton);
    EXPECT_EQ(prompts.shown.back(), "info: 移動が終了しました（エラー：1個）");
    EXPECT_EQ(form->statusLine()->text(), "1個のエラーがあります");
    EXPECT_EQ(shownColumn(*form, 3),
              (QStringList{QString::fromStdString(dir.path("dest/a.mp3")), QString::fromStdString(dir.path("b.mp3"))}));
    EXPECT_EQ(form->listView()->model()->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

// Notes the cursor as each message is shown.
class CursorNotingPrompts : public ScriptedPrompts {
public:
    void information(const std::string& text) override {
        const QCursor* cursor = QApplication::overrideCursor();
        cursors.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
        ScriptedPrompts::information(text);
    }
    std::vector<Qt::CursorShape> cursors;
};

TEST_F(MainWindow, CopiesRunUnderTheBusyCursor) {
    CursorNotingPrompts noting;
    TForm1 form(fs, noting, clock, shell,
                ProgramFiles{dir.path("Inf.ini"), dir.path("Log/"), dir.path("ReadMe.txt"), dir.path("Options.ini")});
    form.show();
    noting.choose(FileChoice{dir.write("l.m3u", crlf({"#EXTM3U", "a.mp3"}))});
    action(form, "menuLoadReplacing")->trigger();
    dir.write("a.mp3", "x");
    form.listView()->model()->setData(form.listView()->model()->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    form.destinationBox()->setText(QString::fromStdString(dir.makeFolder("dest")));
    noting.answer(Answer::No);  // the paths stay as they are
    action(form, "menuCopy")->trigger();
    EXPECT_EQ(noting.shown.back(), "info: コピーが終了しました");
    EXPECT_EQ(noting.cursors, std::vector<Qt::CursorShape>{Qt::WaitCursor});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindow, HelpOpensTheHelpTextWhereThereIsOne) {
    auto form = makeForm();
    action(*form, "menuHelp")->trigger();  // none yet: nothing opens, nothing is said
    EXPECT_TRUE(shell.documents.empty());
    dir.write("ReadMe.txt", "ヘルプ");
    action(*form, "menuHelp")->trigger();
    EXPECT_EQ(shell.documents, std::vector<std::string>{dir.path("ReadMe.txt")});
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MainWindow, PlaysTheFirstSelectedRowInOnePlaybackWindow) {
    auto form = makeForm();
    FakeMediaPlayer::Script script;
    form->setPlayerFactory([&script] { return FakeMediaPlayer::on(script); });
    prompts.choose(FileChoice{dir.write("l.m3u", crlf({"#EXTM3U", "a.mp3", "b.mp3", "gone.mp3"}))});
    action(*form, "menuLoadReplacing")->trigger();
    dir.write("a.mp3", "x");
    dir.write("b.mp3", "x");

    action(*form, "menuPlayWindow")->trigger();  // opening plays nothing
    ASSERT_NE(form->playWindow(), nullptr);
    EXPECT_TRUE(script.calls.empty());
    action(*form, "popupPlay")->trigger();  // no row selected: nothing
    EXPECT_TRUE(script.calls.empty());

    form->listView()->selectRow(2);
    action(*form, "popupPlay")->trigger();
    EXPECT_EQ(prompts.shown.back(), "info: 指定ファイルが見つかりません");
    EXPECT_TRUE(script.calls.empty());

    QTableView* view = form->listView();
    const QPoint second = view->visualRect(view->model()->index(1, 2)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second);  // the first click of the two selects
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(script.calls, (std::vector<std::string>{"open " + dir.path("b.mp3"), "play"}));
    QWidget* window = form->playWindow();
    view->selectAll();
    action(*form, "popupPlay")->trigger();
    EXPECT_EQ(form->playWindow(), window);  // the open window plays the next one
    EXPECT_EQ(script.calls[2], "close");
    EXPECT_EQ(script.calls[3], "open " + dir.path("a.mp3"));

    form->close();  // the playback window goes with the main window, its sound too
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->playWindow(), nullptr);
    EXPECT_EQ(script.calls.back(), "close");
}

TEST_F(MainWindow, TheChooserFillsTheDestinationBox) {
    auto form = makeForm();
    ScriptedPicker picker;
    form->setFolderPicker(&picker);
    picker.next = dir.path();
    QTest::mouseClick(button(*form, "buttonChooseFolder"), Qt::LeftButton);
    EXPECT_EQ(form->destinationBox()->text().toStdString(), dir.path());
    EXPECT_EQ(form->state().destinationFolder, dir.path());
    picker.next = std::nullopt;  // "No."
    QTest::mouseClick(button(*form, "buttonChooseFolder"), Qt::LeftButton);
    EXPECT_EQ(form->state().destinationFolder, dir.path());
    EXPECT_EQ(picker.purposes, (std::vector<FolderPurpose>{FolderPurpose::Destination, FolderPurpose::Destination}));
}

TEST_F(MainWindow, GathersChosenAndDroppedFolders) {
    auto form = makeForm();
    ScriptedPicker picker;
    form->setFolderPicker(&picker);
    dir.write("music/a.mp3", "x");
    dir.write("music/sub/b.mp3", "x");
    dir.write("one.mp3", "x");

    picker.next = dir.path("music");
    action(*form, "menuGatherFolder")->trigger();
    EXPECT_EQ(shownColumn(*form, 2), (QStringList{"a.mp3", "b.mp3"}));
    EXPECT_EQ(picker.purposes, std::vector<FolderPurpose>{FolderPurpose::Gather});

    // "No." adds nothing but still gathers what an earlier error left queued.
    form->state().gatherQueue.push_back(dir.path("one.mp3"));
    picker.next = std::nullopt;
    action(*form, "menuGatherFolder")->trigger();
    EXPECT_EQ(shownColumn(*form, 2), (QStringList{"a.mp3", "b.mp3", "one.mp3"}));

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.path("one.mp3"))),
                  QUrl::fromLocalFile(QString::fromStdString(dir.path("music/sub")))});
    data.setText("not a file");
    form->dropPaths(droppedPaths(data));
    EXPECT_EQ(shownColumn(*form, 2), (QStringList{"a.mp3", "b.mp3", "one.mp3", "one.mp3", "b.mp3"}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A real drop returns at once; the walk follows on the next turn.
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.path("one.mp3")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &drop);
    EXPECT_EQ(shownColumn(*form, 2).size(), 5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownColumn(*form, 2).size() == 6; }, 2000));

    // A name that is no valid UTF-8 arrives with its own bytes.
    const std::string latin1 = dir.write("caf\xE9.mp3", "x");
    data.setUrls({QUrl::fromEncoded(QByteArray::fromStdString("file://" + dir.path("caf%E9.mp3")))});
    EXPECT_EQ(droppedPaths(data), std::vector<std::string>{latin1});
}

TEST_F(MainWindow, StartPathsAreGatheredAsADropOnceTheWindowIsUp) {
    dir.write("l.m3u", crlf({"#EXTM3U", "#EXTINF:5,a", "a.mp3"}));
    dir.write("music/b.mp3", "x");
    dir.write("music/sub/c.mp3", "x");
    const StartArguments start = parseStartArguments({"l.m3u", "music"}, dir.path(), PathRules::native());
    auto form = makeForm();
    form->dropPathsSoon(start.paths);
    EXPECT_TRUE(shownColumn(*form, 2).isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownColumn(*form, 2).size() == 3; }, 2000));
    EXPECT_EQ(shownColumn(*form, 2), (QStringList{"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(form->state().currentPlaylistFile, dir.path("l.m3u"));
}

TEST_F(MainWindow, EveryStripButtonHasAPicture) {
    auto form = makeForm();
    for (const char* name : {"buttonNew", "buttonOpen", "buttonSave", "buttonMove", "buttonMoveSave", "buttonCopy",
                             "buttonCopySave", "buttonPlayWindow", "buttonSearchWindow", "buttonLogWindow"}) {
        const QToolButton* tool = button(*form, name);
        ASSERT_NE(tool, nullptr) << name;
        const QImage image = tool->icon().pixmap(16, 16).toImage();
        bool drawn = false;  // a picture that failed to load is all transparent
        for (int y = 0; y < image.height() && !drawn; ++y)
            for (int x = 0; x < image.width() && !drawn; ++x) drawn = qAlpha(image.pixel(x, y)) > 0;
        EXPECT_TRUE(drawn) << name;
    }
}

// The popup's items in order, "-" for a separator, a submenu's items after
// its title; no item has a keyboard shortcut.
QStringList popupLayout(const QMenu& menu) {
    QStringList items;
    for (QAction* action : menu.actions()) {
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        if (action->menu()) items << popupLayout(*action->menu()).join(',');
    }
    return items;
}

TEST_F(MainWindow, PopupMenuHoldsItsItemsInOrder) {
    auto form = makeForm();
    EXPECT_EQ(popupLayout(*form->listPopupMenu()),
              (QStringList{
                  "再生", "検索", "-", "フォルダを開く", "ファイル名の変更", "-", "選択",
                  "切り取り,貼り付け,-,選択反転,リストから削除,ファイルごと削除,重複を削除,-,タグから曲名と長さを読む",
                  "チェック", "チェック,チェック反転,チェック解除"}));
}

TEST_F(MainWindow, MenusAndStripHoldTheirCommandsInOrder) {
    auto form = makeForm();
    QStringList menus;
    for (QAction* menu : form->menuBar()->actions()) menus << menu->text() + ":" + popupLayout(*menu->menu()).join('|');
    EXPECT_EQ(menus,
              (QStringList{
                  "メイン:新規プレイリストの作成|プレイリストの読み込み|新規,追加|下層フォルダの音楽ファイルを追加|"
                  "保存|二つのプレイリストを比較|終了",
                  "アクション:移動|コピー|移動＋保存|コピー＋保存|ファイルの存在しないものを削除|リンク切れを修復|"
                  "チェックされたリストを選択|全選択",
                  "設定:プレイリストに自動的に保存|追加時にタグを読む|"
                  "その他の音楽ファイルも追加（flac, ogg, opus, m4a, wav など）",
                  "サブウインド:検索|再生|ログ",
                  "ヘルプ:ヘルプ|バージョン情報",
              }));
    QStringList strip;
    for (QToolButton* tool : form->findChildren<QToolButton*>())
        if (tool->objectName().startsWith("button")) strip << tool->objectName();
    EXPECT_EQ(strip, (QStringList{"buttonNew", "buttonOpen", "buttonSave", "buttonMove", "buttonMoveSave", "buttonCopy",
                                  "buttonCopySave", "buttonPlayWindow", "buttonSearchWindow", "buttonLogWindow",
                                  "buttonChooseFolder"}));
}

TEST_F(MainWindow, PasteIsOfferedExactlyWhileRowsWaitInTheCutBuffer) {
    auto form = makeForm();
    prompts.choose(FileChoice{dir.write("l.m3u", crlf({"#EXTM3U", "a.mp3", "b.mp3", "c.mp3"}))});
    action(*form, "menuLoadReplacing")->trigger();
    QAction* paste = action(*form, "popupPaste");
    emit form->listPopupMenu()->aboutToShow();
    EXPECT_FALSE(paste->isEnabled());

    form->listView()->selectRow(0);
    action(*form, "popupCut")->trigger();
    emit form->listPopupMenu()->aboutToShow();
    EXPECT_TRUE(paste->isEnabled());
    EXPECT_EQ(shownColumn(*form, 2), (QStringList{"b.mp3", "c.mp3"}));

    paste->trigger();
    emit form->listPopupMenu()->aboutToShow();
    EXPECT_FALSE(paste->isEnabled());
    EXPECT_EQ(shownColumn(*form, 2), (QStringList{"b.mp3", "c.mp3", "a.mp3"}));

    // A right click makes the clicked row the focus row, which "フォルダを開く" shows.
    QTableView* view = form->listView();
    const QRect third = view->visualRect(view->model()->index(2, 1));
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, third.center());
    action(*form, "popupOpenFolder")->trigger();
    EXPECT_EQ(shell.shown, std::vector<std::string>{dir.path("a.mp3")});

    // The view's selection follows the core's after a command.
    action(*form, "menuSelectAll")->trigger();
    EXPECT_EQ(ListSelectionModel::of(*view)->selectedRowCount(), 3u);
    action(*form, "popupInvertSelection")->trigger();
    EXPECT_EQ(ListSelectionModel::of(*view)->selectedRowCount(), 0u);
}

TEST_F(MainWindow, TheListShowsWhatTheUserAndTheCommandsSelect) {
    auto form = makeForm();
    prompts.choose(FileChoice{dir.write("l.m3u", crlf({"#EXTM3U", "a.mp3", "b.mp3", "c.mp3", "d.mp3"}))});
    action(*form, "menuLoadReplacing")->trigger();
    QTableView* view = form->listView();
    const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                          view->visualRect(view->model()->index(row, 1)).center());
    };
    const auto selected = [&] {
        std::vector<std::size_t> rows;
        for (std::size_t row = 0; row < form->state().list.count(); ++row)
            if (form->state().list.at(row).selected) rows.push_back(row);
        return rows;
    };
    click(0, {});
    click(2, Qt::ControlModifier);
    EXPECT_EQ(selected(), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(paintedSelectedRows(*view), selected());
    action(*form, "popupCheck")->trigger();
    EXPECT_EQ(view->model()->index(2, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);

    action(*form, "popupCut")->trigger();  // the model is reset
    EXPECT_EQ(shownColumn(*form, 2), (QStringList{"b.mp3", "d.mp3"}));
    EXPECT_TRUE(paintedSelectedRows(*view).empty());
    click(1, {});
    emit form->listPopupMenu()->aboutToShow();
    action(*form, "popupPaste")->trigger();  // before the clicked row, which stays selected
    EXPECT_EQ(shownColumn(*form, 2), (QStringList{"b.mp3", "a.mp3", "c.mp3", "d.mp3"}));
    EXPECT_EQ(selected(), std::vector<std::size_t>{3});
    EXPECT_EQ(paintedSelectedRows(*view), selected());
    EXPECT_EQ(view->currentIndex().row(), 3);

    click(0, Qt::ControlModifier);
    action(*form, "popupInvertSelection")->trigger();
    EXPECT_EQ(selected(), (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(paintedSelectedRows(*view), selected());
}

TEST_F(MainWindow, LaysOutTheMenusInOrderAndDisablesWhatIsNotBuiltYet) {
    auto form = makeForm();
    QStringList menus;
    for (QAction* menu : form->menuBar()->actions()) menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"メイン", "アクション", "設定", "サブウインド", "ヘルプ"}));

    for (const char* name : {"menuNew", "menuLoadReplacing", "menuLoadAppending", "menuSave", "menuExit",
                             "menuAutoSave", "menuSearchWindow", "popupSearch", "menuHelp"})
        EXPECT_TRUE(action(*form, name)->isEnabled()) << name;
    EXPECT_TRUE(button(*form, "buttonSearchWindow")->isEnabled());
    for (const char* name : {"menuGatherFolder", "menuAbout", "menuPlayWindow", "popupPlay", "popupRename"})
        EXPECT_FALSE(action(*form, name)->isEnabled()) << name;
    for (const char* name : {"buttonPlayWindow", "buttonLogWindow", "buttonChooseFolder"})
        EXPECT_FALSE(button(*form, name)->isEnabled()) << name;
    EXPECT_EQ(button(*form, "buttonChooseFolder")->toolTip(), "パス設定");
    EXPECT_EQ(button(*form, "buttonCopySave")->toolTip(), "コピー＋保存");

    QTest::keyClicks(form->destinationBox(), "/music/dest");
    EXPECT_EQ(form->state().destinationFolder, "/music/dest");
    EXPECT_EQ(form->statusLine()->text(), "");
}

// Catches the other music types gathered without the setting, not gathered
// with it, or the setting lost on a restart.
TEST_F(MainWindow, TheOtherMusicTypesAreGatheredOnRequestAndTheSettingIsKept) {
    dir.write("m/a.flac", "x");
    dir.write("m/b.mp3", "x");
    auto form = makeForm();
    form->dropPaths({dir.path("m")});
    EXPECT_EQ(shownColumn(*form, 2), QStringList{"b.mp3"});
    action(*form, "menuAllMusicTypes")->trigger();
    EXPECT_EQ(readFile(dir.path("Options.ini")), "AllMusicTypes=1\r\n");
    auto again = makeForm();
    EXPECT_TRUE(action(*again, "menuAllMusicTypes")->isChecked());
    again->dropPaths({dir.path("m")});
    EXPECT_EQ(shownColumn(*again, 2), (QStringList{"a.flac", "b.mp3"}));
}

}  // namespace
}  // namespace listora::test
