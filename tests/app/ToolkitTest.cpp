// The Qt toolkit: texts across the code page boundary, the title, the boxes as the user sees
// them, help, and the calculator window's activation rule with real windows.

#include "AppTestSupport.h"
#include "AppTitle.h"
#include "Cp1251.h"
#include "ErrorGuard.h"
#include "Exceptions.h"
#include "HelpWindow.h"
#include "QtToolkit.h"
#include "TextCodec.h"
#include "Unit1.h"
#include "zorvo3.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>

namespace {

// Waits for the next modal window, lets the test look at it, then presses the given button
// of a message box (or closes the window).
void answerNextModal(std::function<void(QWidget*)> inspect,
                     QMessageBox::StandardButton button = QMessageBox::Ok) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, inspect, button] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (inspect) {
            inspect(modal);
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->button(button)) {
            box->button(button)->click();
        } else {
            modal->close();
        }
    });
    timer->start();
}

TEST(TextCodecTest, ConvertsAtTheBoundaryWithQuestionMarksForForeignCharacters) {
    struct Row {
        QString text;
        std::string bytes;
    };
    const Row rows[] = {
        {"Результат=", "\xd0\xe5\xe7\xf3\xeb\xfc\xf2\xe0\xf2="},
        {"Ёё №€", "\xa8\xb8 \xb9\x88"},
        {"x 中 y", "x ? y"},
        {QString::fromUtf8("a\xf0\x9f\x98\x80"
                           "b"),
         "a?b"}, // outside the BMP: one "?"
        {"ü", "?"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FromQt(row.text), row.bytes) << row.text.toStdString();
    }
    EXPECT_EQ(ToQt("\xd0\xe5\xe7").toStdString(), "Рез");
    EXPECT_EQ(FromQtLines("a\nb"), "a\r\nb");
    EXPECT_EQ(ToQtLines("a\r\nb").toStdString(), "a\nb");
    EXPECT_EQ(Cp("Пусто"), cp1251("Пусто"));

    // Every byte, NUL and the one code the code page leaves unassigned (0x98) included, comes
    // back from Qt unchanged: a formula file's line passes through the memo before it is saved.
    std::string all(256, '\0');
    for (std::size_t b = 0; b < all.size(); ++b) {
        all[b] = static_cast<char>(b);
    }
    const QString text = ToQt(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(text[0xC0], QChar(0x0410)); // А … я are one block in both
    EXPECT_EQ(text[0xFF], QChar(0x044F));
    const std::string back = FromQt(text);
    ASSERT_EQ(back.size(), all.size());
    for (std::size_t b = 0; b < all.size(); ++b) {
        EXPECT_EQ(back[b], all[b]) << "byte " << b << " became U+" << std::hex
                                   << int(text[static_cast<qsizetype>(b)].unicode());
    }
}

TEST(AppTitleTest, TitleComesFromTheProgramName) {
    const struct {
        const char* path;
        const char* title;
    } rows[] = {
        {"/usr/local/bin/Zorvo_3", "Zorvo_3"},
        {"ZORVO_3.EXE", "Zorvo_3"},
        {"build/app/zorvo.tar.gz", "zorvo"},
        {"/opt/КАЛЬК.bin", "Кальк"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(fromCp1251(ApplicationTitleFromPath(QString::fromUtf8(row.path))), row.title)
            << row.path;
    }
}

TEST(FileDialogTest, FiltersAndExtensionsBecomeQtForms) {
    EXPECT_EQ(QtNameFilter(cp1251("Формулы|*.frm")).toStdString(), "Формулы (*.frm)");
    EXPECT_EQ(QtNameFilter("Text|*.txt;*.log|All|*").toStdString(), "Text (*.txt *.log);;All (*)");
    EXPECT_EQ(QtDefaultSuffix("*.frm"), "frm");
    EXPECT_EQ(QtDefaultSuffix("frm"), "frm");
    EXPECT_EQ(QtDefaultSuffix(".frm"), "frm");
}

class QtToolkitTest : public AppTest {
protected:
    QtToolkit qt;
};

TEST_F(QtToolkitTest, MessageBoxHasTheTitleTheTextOneButtonAndNoIcon) {
    SetApplicationTitle("Zorvo_3");
    bool seen = false;
    answerNextModal([&seen](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->windowTitle().toStdString(), "Zorvo_3");
        EXPECT_EQ(box->text().toStdString(), "Не могу\nрешить");
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_NE(box->button(QMessageBox::Ok), nullptr);
        // Centred on the screen.
        const QPoint centre = box->screen()->availableGeometry().center();
        EXPECT_LE((box->frameGeometry().center() - centre).manhattanLength(), 2);
    });
    qt.ShowMessage(cp1251("Не могу\n\rрешить"));
    EXPECT_TRUE(seen);
}

TEST_F(QtToolkitTest, ConfirmationAnswersYesOrNo) {
    answerNextModal(
        [](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->buttons().size(), 2);
        },
        QMessageBox::Yes);
    EXPECT_TRUE(qt.Confirm("Stop?"));
    answerNextModal({}, QMessageBox::No);
    EXPECT_FALSE(qt.Confirm("Stop?"));
}

TEST_F(QtToolkitTest, ErrorBoxShowsTheErrorIcon) {
    bool seen = false;
    answerNextModal([&seen](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->text().toStdString(), "Disk full.");
        EXPECT_TRUE(box->property(kForeignWindowProperty).toBool());
    });
    RunGuarded(qt, [] { throw EInOutError(101, "Disk full"); });
    EXPECT_TRUE(seen);
}

TEST_F(QtToolkitTest, HelpShowsTopicOneOfTheGuide) {
    qt.ShowHelp("Zorvo_d.hlp", 1);
    HelpWindow& help = qt.Help();
    EXPECT_TRUE(help.isVisible());
    const QString text = help.Browser()->toPlainText();
    EXPECT_TRUE(text.contains("Как записать формулу")) << text.left(200).toStdString();
    for (std::string_view name : FunctionNames) {
        EXPECT_TRUE(text.contains(QString::fromLatin1(name.data(), name.size()) + "(")) << name;
    }
    qt.ShowHelp("Zorvo_d.hlp", 7);
    EXPECT_TRUE(help.Browser()->toPlainText().contains("не найден"));
    help.close();
}

// The activation rule with real windows on the offscreen platform.
class ActivationTest : public QtToolkitTest {
protected:
    void SetUp() override {
        QtToolkitTest::SetUp();
        SetEngineMessageHook([this](const std::string& text) { qt.ShowMessage(text); });
        form = std::make_unique<TForm1>(qt);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        edit1 = form->findChild<QLineEdit*>("Edit1");
        memo1 = form->findChild<QPlainTextEdit*>("Memo1");
    }
    void TearDown() override {
        form.reset();
        QtToolkitTest::TearDown();
    }
    // Closing a box gives the focus back to the window it came from, as a window manager does.
    void returnToForm() {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QCoreApplication::processEvents();
    }

    std::unique_ptr<TForm1> form;
    QLineEdit* edit1 = nullptr;
    QPlainTextEdit* memo1 = nullptr;
};

TEST_F(ActivationTest, FirstShowingFillsXAndFocusesTheFormula) {
    EXPECT_EQ(edit1->text(), "1");
    EXPECT_TRUE(memo1->hasFocus());
    EXPECT_EQ(LetterSet.count(), 52u);
}

TEST_F(ActivationTest, ReturningFromAMessageBoxRunsItAgain) {
    memo1->setPlainText("x;");
    edit1->setText("abc");
    answerNextModal({});
    form->findChild<QPushButton*>("BitBtn1")->click();
    // The box gives the focus back to the window by itself.
    EXPECT_TRUE(WaitFor([this] { return edit1->text() == "1"; }));
    EXPECT_TRUE(memo1->hasFocus());
}

TEST_F(ActivationTest, ReturningFromAnotherWindowOfTheProgramRunsIt) {
    edit1->setText("5");
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(edit1->text(), "5");
    other.close();
    returnToForm();
    EXPECT_EQ(edit1->text(), "1");
}

TEST_F(ActivationTest, ReturningFromTheModalGraphWindowRunsIt) {
    edit1->setText("5");
    form->SetShowGraphWindow([] {
        QDialog graph;
        answerNextModal({});
        graph.exec();
    });
    form->findChild<QAction*>("N5")->trigger();
    EXPECT_TRUE(WaitFor([this] { return edit1->text() == "1"; }));
}

TEST_F(ActivationTest, ReturningFromTheErrorBoxOrAnotherProgramDoesNot) {
    memo1->setPlainText("x;");
    edit1->setText("1E5000");
    answerNextModal({});
    form->findChild<QPushButton*>("BitBtn1")->click();
    EXPECT_TRUE(WaitFor([this] { return QApplication::activeWindow() == form.get(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(edit1->text(), "1E5000");

    // Another program takes the focus and gives it back: to the widgets a window that is no
    // widget window looks just like one of another program.
    {
        QWindow foreign;
        foreign.show();
        foreign.requestActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&foreign));
        EXPECT_EQ(QApplication::activeWindow(), nullptr);
    }
    returnToForm();
    EXPECT_EQ(edit1->text(), "1E5000");

    // Help is another program too; closing it gives the focus back.
    qt.ShowHelp("Zorvo_d.hlp", 1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&qt.Help()));
    qt.Help().close();
    EXPECT_TRUE(WaitFor([this] { return QApplication::activeWindow() == form.get(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(edit1->text(), "1E5000");
}

} // namespace
