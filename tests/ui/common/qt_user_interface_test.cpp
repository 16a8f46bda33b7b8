// The window program's user interface: message boxes with their icon,
// buttons, default button and title, the status bar and the wait cursor.

#include "ui/common/qt_user_interface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QStringList buttonTexts;   // in the order the buttons stand
};

// Waits for the next message box, notes what it shows and answers it.
void answerNextBox(SeenBox& seen, const std::function<void(QMessageBox&)>& answer)
{
    QTimer::singleShot(10, [&seen, answer]() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            answerNextBox(seen, answer);
            return;
        }
        seen.text = box->text();
        seen.title = box->windowTitle();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.defaultButton = box->standardButton(box->defaultButton());
        seen.buttonTexts.clear();
        for (QAbstractButton* button : box->buttons())
            seen.buttonTexts << button->text();
        answer(*box);
    });
}

} // namespace

TEST(QtUserInterface, MessageBoxShowsTextIconButtonsAndDefault)
{
    QtUserInterface ui;
    SeenBox seen;
    answerNextBox(seen, [](QMessageBox& box) { box.button(QMessageBox::Cancel)->click(); });
    const MessageAnswer answer =
        ui.showMessage(QStringLiteral("保存しますか？\n二行目"), MessageIcon::Question,
                       MessageButtons::YesNoCancel, MessageAnswer::No, QStringLiteral("確認"));
    EXPECT_EQ(answer, MessageAnswer::Cancel);
    EXPECT_EQ(seen.text, QStringLiteral("保存しますか？\n二行目"));
    EXPECT_EQ(seen.title, QStringLiteral("確認"));
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(seen.defaultButton, QMessageBox::No);
    // Japanese buttons, whatever the toolkit's language.
    seen.buttonTexts.sort();
    EXPECT_EQ(seen.buttonTexts, QStringList({"いいえ", "はい", "キャンセル"}));

    answerNextBox(seen, [](QMessageBox& box) { box.button(QMessageBox::Retry)->click(); });
    EXPECT_EQ(ui.showMessage(QStringLiteral("x"), MessageIcon::Critical, MessageButtons::AbortRetryIgnore,
                             MessageAnswer::Abort),
              MessageAnswer::Retry);
    seen.buttonTexts.sort();
    EXPECT_EQ(seen.buttonTexts, QStringList({"中止", "再試行", "無視"}));
    EXPECT_EQ(seen.defaultButton, QMessageBox::Abort);
}

TEST(QtUserInterface, AnUntitledCriticalMessageCarriesTheProgramTitle)
{
    QtUserInterface ui;
    SeenBox seen;
    answerNextBox(seen, [](QMessageBox& box) { box.button(QMessageBox::Ok)->click(); });
    EXPECT_EQ(ui.showMessage(QStringLiteral("x"), MessageIcon::Critical), MessageAnswer::Ok);
    EXPECT_EQ(seen.title, QtUserInterface::programTitle());
    EXPECT_FALSE(seen.title.isEmpty());
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    // Escape on a yes/no question answers no; Return takes the default.
    answerNextBox(seen, [](QMessageBox& box) { box.reject(); });
    EXPECT_EQ(ui.showMessage(QStringLiteral("q"), MessageIcon::Question, MessageButtons::YesNo,
                             MessageAnswer::Yes),
              MessageAnswer::No);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Yes);

    answerNextBox(seen, [](QMessageBox& box) { box.defaultButton()->click(); });
    EXPECT_EQ(ui.showMessage(QStringLiteral("w"), MessageIcon::Exclamation, MessageButtons::YesNo,
                             MessageAnswer::Yes),
              MessageAnswer::Yes);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
}

TEST(QtUserInterface, StatusBarBusyCursorAndHooks)
{
    QMainWindow window;
    QtUserInterface ui(&window);
    ui.setStatusBar(window.statusBar());

    ui.setStatusText(QStringLiteral("データの削除中..."));
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("データの削除中..."));

    ui.setBusy(QStringLiteral("読み込み中"), true);
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("読み込み中"));
    ui.setBusy(QString(), false);
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());

    std::vector<int> tabs;
    int aboutCloses = 0;
    ui.openOptionsDialog(3);  // no hook yet: nothing happens
    ui.setOptionsDialogOpener([&tabs](int tab) { tabs.push_back(tab); });
    ui.setAboutWindowCloser([&aboutCloses]() { ++aboutCloses; });
    ui.openOptionsDialog(2);
    ui.closeAboutWindow();
    EXPECT_EQ(tabs, std::vector<int>{2});
    EXPECT_EQ(aboutCloses, 1);
}
