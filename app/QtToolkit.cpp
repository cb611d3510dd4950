#include "QtToolkit.h"

#include "AppTitle.h"
#include "HelpWindow.h"
#include "TextCodec.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

namespace {

// A message box that stands in the middle of the screen, not over its parent window.
class CentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        if (QScreen* s = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(s->availableGeometry().center());
            move(frame.topLeft());
        }
    }
};

// Runs a modal window and gives the focus back to the window that had it, as the owner of a
// modal box gets it back on the desktop the program was designed for; without a window
// manager (or with a lax one) the focus would otherwise be left nowhere.
template <typename Dialog> int execReturningFocus(Dialog& dialog) {
    const QPointer<QWidget> owner = QApplication::activeWindow();
    const int result = dialog.exec();
    if (owner && owner->isVisible()) {
        owner->activateWindow();
    }
    return result;
}

// The system writes a line break as CR LF or, in one message, LF CR; a label wants LF.
QString messageText(const std::string& text) {
    QString result = ToQt(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

int runBox(QMessageBox::Icon icon, const std::string& text, QMessageBox::StandardButtons buttons,
           QMessageBox::StandardButton defaultButton, bool foreign) {
    CentredMessageBox box(icon, ToQt(ApplicationTitle()), messageText(text), buttons);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    box.setObjectName(QStringLiteral("ZorvoMessageBox"));
    if (foreign) {
        box.setProperty(kForeignWindowProperty, true);
    }
    return execReturningFocus(box);
}

std::optional<std::string> runFileDialog(const FileDialogOptions& options,
                                         QFileDialog::AcceptMode mode) {
    QFileDialog dialog;
    dialog.setProperty(kForeignWindowProperty, true);
    dialog.setAcceptMode(mode);
    // Both dialogs take any name: the open dialog a file that does not exist (the command
    // then reports it), the save dialog an existing file, replaced without asking.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilter(QtNameFilter(options.Filter));
    dialog.setDefaultSuffix(QtDefaultSuffix(options.DefaultExtension));
    if (execReturningFocus(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QByteArray name = QFile::encodeName(dialog.selectedFiles().constFirst());
    return std::string(name.constData(), static_cast<std::size_t>(name.size()));
}

} // namespace

QString QtNameFilter(const std::string& filter) {
    const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtDefaultSuffix(const std::string& defaultExtension) {
    QString suffix = ToQt(defaultExtension);
    while (suffix.startsWith(QLatin1Char('*')) || suffix.startsWith(QLatin1Char('.'))) {
        suffix.remove(0, 1);
    }
    return suffix;
}

QtToolkit::QtToolkit() = default;
QtToolkit::~QtToolkit() = default;

void QtToolkit::ShowMessage(const std::string& text) {
    runBox(QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok, false);
}

bool QtToolkit::Confirm(const std::string& text) {
    return runBox(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                  false) == QMessageBox::Yes;
}

void QtToolkit::ShowError(const std::string& text) {
    runBox(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok, true);
}

std::optional<std::string> QtToolkit::OpenFileName(const FileDialogOptions& options) {
    return runFileDialog(options, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtToolkit::SaveFileName(const FileDialogOptions& options) {
    return runFileDialog(options, QFileDialog::AcceptSave);
}

HelpWindow& QtToolkit::Help() {
    if (!m_help) {
        m_help = std::make_unique<HelpWindow>();
    }
    return *m_help;
}

void QtToolkit::ShowHelp(const std::string& helpFile, int context) {
    Help().ShowTopic(helpFile, context);
}
