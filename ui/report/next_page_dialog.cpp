#include "ui/report/next_page_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vortan::report {

NextPageDialog::NextPageDialog(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("F_次ページ"));
    const QString title = QApplication::applicationDisplayName();
    setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
    setModal(false);
    auto* text = new QLabel(QStringLiteral("次のページを印刷しますか？"), this);
    auto* yes = new QPushButton(QStringLiteral("はい(&Y)"), this);
    auto* no = new QPushButton(QStringLiteral("いいえ(&N)"), this);
    yes->setObjectName(QStringLiteral("cmdYes"));
    no->setObjectName(QStringLiteral("cmdNo"));
    yes->setDefault(true);
    connect(yes, &QPushButton::clicked, this, [this] { answerWith(true); });
    connect(no, &QPushButton::clicked, this, [this] { answerWith(false); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
}

QString NextPageDialog::ask()
{
    answer_.clear();
    show();
    raise();
    activateWindow();
    // An event loop of our own rather than a polling loop: the prompt and the
    // windows stay usable, and the answer ends the wait at once.
    QEventLoop loop;
    loop_ = &loop;
    if (answer_.isEmpty())
        loop.exec();
    loop_ = nullptr;
    hide();
    return answer_;
}

void NextPageDialog::answerWith(bool yes)
{
    answer_ = yes ? QStringLiteral("True") : QStringLiteral("False");
    if (loop_)
        loop_->quit();
}

void NextPageDialog::closeEvent(QCloseEvent* event)
{
    if (answer_.isEmpty())
        answerWith(false);
    QDialog::closeEvent(event);
}

void NextPageDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        answerWith(false);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace vortan::report
