#pragma once
// The comparison window: the two playlists and the method. Created once and
// shown modally; its inputs stay from one opening to the next. "検出" asks
// the main window to compare, which closes the window when there is a
// result.

#include "core/search/playlist_comparison.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace listora {

class Prompts;
class PlaylistDialogs;

class TForm6 : public QDialog {
    Q_OBJECT
public:
    TForm6(Prompts& prompts, PlaylistDialogs& dialogs, QWidget* parent = nullptr);

    QLineEdit* playlistABox() const { return a_; }
    QLineEdit* playlistBBox() const { return b_; }
    QPushButton* chooseAButton() const { return chooseA_; }
    QPushButton* chooseBButton() const { return chooseB_; }
    QComboBox* methodBox() const { return method_; }
    QPushButton* detectButton() const { return detect_; }
    QPushButton* cancelButton() const { return cancel_; }

signals:
    // The names as typed or chosen, in the system code page.
    void compareRequested(const std::string& playlistA, const std::string& playlistB, listora::ComparisonMethod method);

private:
    void choose(QLineEdit* box);

    Prompts& prompts_;
    PlaylistDialogs& dialogs_;
    QLineEdit* a_ = nullptr;
    QLineEdit* b_ = nullptr;
    QPushButton* chooseA_ = nullptr;
    QPushButton* chooseB_ = nullptr;
    QComboBox* method_ = nullptr;
    QPushButton* detect_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace listora
