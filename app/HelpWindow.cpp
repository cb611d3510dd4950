#include "HelpWindow.h"

#include "AppTitle.h"
#include "QtToolkit.h"
#include "TextCodec.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

// The help texts live in a static library; the resource initialiser must be referenced
// explicitly or the linker drops it. Outside any namespace, as the macro requires.
static void initHelpResources() {
    Q_INIT_RESOURCE(zorvo);
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    initHelpResources();
    setObjectName(QStringLiteral("HelpWindow"));
    setProperty(kForeignWindowProperty, true);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Справка — ") + ToQt(ApplicationTitle()));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(620, 560);
}

QString HelpWindow::TopicResource(const std::string& helpFile, int context) {
    const QString base = QFileInfo(QString::fromStdString(helpFile)).completeBaseName();
    return QStringLiteral(":/help/%1_%2.html").arg(base).arg(context);
}

void HelpWindow::ShowTopic(const std::string& helpFile, int context) {
    const QString resource = TopicResource(helpFile, context);
    if (QFile::exists(resource)) {
        m_browser->setSource(QUrl(QStringLiteral("qrc") + resource));
    } else {
        m_browser->setPlainText(QStringLiteral("Раздел %1 справочного файла %2 не найден.")
                                    .arg(context)
                                    .arg(QString::fromStdString(helpFile)));
    }
    // Qt blocks every window but the modal one and its own; a help window opened from the
    // modal graph window must be modal itself to be usable. Modality can only change while
    // the window is hidden.
    const bool modal =
        QApplication::activeModalWidget() != nullptr && QApplication::activeModalWidget() != this;
    const Qt::WindowModality wanted = modal ? Qt::ApplicationModal : Qt::NonModal;
    QWidget* asking = QApplication::activeWindow();
    if (asking != this) {
        m_returnTo = asking;
    }
    if (windowModality() != wanted) {
        hide();
        setWindowModality(wanted);
    }
    if (!m_placed) {
        m_placed = true;
        if (QScreen* s = asking ? asking->screen() : screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(s->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    show();
    raise();
    activateWindow();
}

void HelpWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // The focus goes back where it came from, even without a window manager to do it; once
    // the hiding is complete, or it would take the activation away again.
    QTimer::singleShot(0, this, [this] {
        if (m_returnTo && m_returnTo->isVisible() && !isVisible()) {
            m_returnTo->activateWindow();
        }
    });
}
