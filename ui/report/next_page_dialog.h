#pragma once
// F_次ページ: asks in the preview whether to go on to the next page. It
// stays on top of the other windows and leaves them usable while it waits.

#include <QDialog>

class QEventLoop;

namespace vortan::report {

class NextPageDialog : public QDialog {
    Q_OBJECT

public:
    explicit NextPageDialog(QWidget* parent = nullptr);

    // Shows the prompt and waits, letting window events run, until a button
    // is pressed or the prompt is closed (which counts as no). The answer as
    // the print window keeps it: "True" or "False".
    QString ask();

    // The answer: empty while waiting.
    const QString& answer() const { return answer_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void answerWith(bool yes);

    QString answer_;
    QEventLoop* loop_ = nullptr;
};

} // namespace vortan::report
