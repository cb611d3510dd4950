#include "BoundedMemo.h"

#include "Calculation.h"
#include "TextCodec.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// A line longer than this wraps anywhere instead of at a word boundary. Looking for a boundary
// in a long line without blanks costs time that grows with the square of its length: a line
// of 65,535 digits took about a second to show and half a second for every key typed into it,
// against some 50 ms wrapped anywhere (bench_memo). A line that long is no text to read by
// words anyway.
constexpr int kLongLine = 4096;

// Characters as the commands take them (FromQtLines): every line break, however written, is
// CR LF; a character beyond the 16-bit range (a surrogate pair) becomes one "?".
qsizetype commandLength(QStringView text) {
    qsizetype length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            ++i;
            length += 2;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n') ||
                   c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            length += 2;
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            length += 1;
        } else {
            length += 1;
        }
    }
    return length;
}

} // namespace

BoundedMemo::BoundedMemo(QWidget* parent) : QPlainTextEdit(parent) {
    connect(document(), &QTextDocument::contentsChange, this, [this] { fitWrapToLines(); });
}

void BoundedMemo::wrapBeforeInserting(const QString& text) {
    // Switched before the text comes in, so that the long line is never laid out by words;
    // fitWrapToLines switches back when the text had line breaks after all.
    if (textCursor().block().length() + text.size() > kLongLine) {
        setWordWrapMode(QTextOption::WrapAnywhere);
    }
}

void BoundedMemo::fitWrapToLines() {
    bool longLine = false;
    for (QTextBlock block = document()->firstBlock(); block.isValid() && !longLine;
         block = block.next()) {
        longLine = block.length() > kLongLine;
    }
    const QTextOption::WrapMode wanted =
        longLine ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != wanted) {
        setWordWrapMode(wanted);
    }
}

qsizetype BoundedMemo::CommandLength() const {
    return commandLength(document()->toRawText());
}

bool BoundedMemo::takes(const QString& text) const {
    const qsizetype current = CommandLength();
    const qsizetype result =
        current - commandLength(textCursor().selectedText()) + commandLength(text);
    return result <= static_cast<qsizetype>(kMaxMemoLength) || result <= current;
}

void BoundedMemo::keyPressEvent(QKeyEvent* event) {
    // The keys that insert text: Enter a line break, the others their printable text. Paste
    // keys come back through insertFromMimeData.
    QString typed;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        typed = QStringLiteral("\n");
    } else if (!event->text().isEmpty() && event->text().front().isPrint()) {
        typed = event->text();
    }
    if (!typed.isEmpty() && !isReadOnly()) {
        if (!takes(typed)) {
            event->accept();
            emit textRefused();
            return;
        }
        wrapBeforeInserting(typed);
    }
    QPlainTextEdit::keyPressEvent(event);
}

void BoundedMemo::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty()) {
        if (!takes(event->commitString())) {
            event->accept();
            emit textRefused();
            return;
        }
        wrapBeforeInserting(event->commitString());
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void BoundedMemo::insertFromMimeData(const QMimeData* source) {
    // Pasting by key or menu, the middle button and dropping all come here.
    if (source != nullptr && source->hasText()) {
        const QString text = source->text();
        if (!takes(text)) {
            emit textRefused();
            return;
        }
        wrapBeforeInserting(text);
    }
    QPlainTextEdit::insertFromMimeData(source);
}

std::string MemoFullMessage() {
    return Cp("Текст не добавлен: в поле помещается не более 65535 символов "
              "(перевод строки считается за два).");
}
