#pragma once
// The program's own help viewer: shows a numbered topic of a help file from the help texts
// compiled into the program (":/help/<file name without extension>_<topic>.html").

#include <QPointer>
#include <QWidget>

#include <string>

class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Loads the topic and shows the window in front. While a modal window is open the help
    // window is shown application-modal, so that it can still be read and scrolled.
    void ShowTopic(const std::string& helpFile, int context);
    // The resource that holds a topic ("Zorvo_d.hlp", 1 → ":/help/Zorvo_d_1.html").
    static QString TopicResource(const std::string& helpFile, int context);

    QTextBrowser* Browser() const { return m_browser; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QTextBrowser* m_browser;
    QPointer<QWidget> m_returnTo; // the window that had the focus when help was asked for
    bool m_placed = false;
};
