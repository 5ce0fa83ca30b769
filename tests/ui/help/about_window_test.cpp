#include "ui/help/about_window.h"

#include "core/native/native_file_system.h"
#include "support/fixed_ports.h"
#include "support/temp_dir.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace listora::test {
namespace {

QStringList texts(const QDialog& window) {
    QStringList shown;
    for (const QLabel* label : window.findChildren<QLabel*>())
        if (!label->text().isEmpty()) shown << label->text();
    return shown;
}

TEST(AboutWindow, ShowsTheSameTextsEachTimeAndItsLinkOpensThePageOnEveryClick) {
    TempDir dir;
    const std::string help = dir.write("ReadMe.txt", "ヘルプ");
    NativeFileSystem fs;
    RecordingShell shell;
    TForm7 form(fs, shell, help);
    EXPECT_EQ(form.findChild<QLabel*>("icon")->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(form.findChild<QLabel*>("softwareName")->font().pixelSize(), 19);

    form.show();
    const QStringList first = texts(form);
    EXPECT_TRUE(first.contains("ソフト名：Listora"));
    EXPECT_TRUE(first.contains("バージョン：1.20"));
    EXPECT_TRUE(first.contains("ホームページ　 ："));
    EXPECT_TRUE(std::any_of(first.begin(), first.end(), [](const QString& text) { return text.startsWith("作者："); }));
    for (int click = 0; click < 2; ++click) {
        QLabel* link = form.linkLabel();
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(4, link->height() / 2));
    }
    // The build names no page by default: the link opens the help text.
    EXPECT_EQ(shell.documents, (std::vector<std::string>{help, help}));
    EXPECT_TRUE(form.isVisible());
    form.okButton()->click();
    EXPECT_FALSE(form.isVisible());

    form.show();
    EXPECT_EQ(texts(form), first);
}

}  // namespace
}  // namespace listora::test
