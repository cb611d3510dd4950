#pragma once
// A memo of the calculator window that takes no more text than the commands do. Typing,
// pasting or dropping what would make it longer than kMaxMemoLength characters, counted as
// the commands take the text (line breaks as CR LF), is refused before it reaches the
// document: the memo keeps its text. A line of a megabyte would otherwise hold the window for
// minutes while the memo lays it out, only to be refused by the calculation. Lines of
// thousands of characters wrap anywhere, which keeps their layout fast.

#include <QPlainTextEdit>

#include <string>

class BoundedMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit BoundedMemo(QWidget* parent = nullptr);

    // The length of the memo's text as the commands take it.
    qsizetype CommandLength() const;

signals:
    // Typed or pasted text was refused; the window says why.
    void textRefused();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Whether `text` may replace the selection: the memo stays within the limit, or at least
    // grows no longer (a memo that a file filled beyond it can still be edited down).
    bool takes(const QString& text) const;
    // Long lines wrap anywhere, the others at word boundaries (see kLongLine).
    void wrapBeforeInserting(const QString& text);
    void fitWrapToLines();
};

// The message of a refusal (code page 1251).
std::string MemoFullMessage();
