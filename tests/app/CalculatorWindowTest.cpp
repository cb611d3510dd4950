// The calculator window with a scripted toolkit: its form, typing and the buttons, the menu,
// help and Enter as the default button.

#include "AppTestSupport.h"
#include "Calculation.h"
#include "CalculatorState.h"
#include "Cp1251.h"
#include "Glyphs.h"
#include "NumberText.h"
#include "ScalableIcon.h"
#include "Startup.h"
#include "Unit1.h"
#include "zorvo3.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

// Dark pixels: the text, not the frames and faces around it.
int inkPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += QColor(image.pixel(x, y)).lightness() < 100 ? 1 : 0;
        }
    }
    return count;
}

class CalculatorWindowTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        RegisterFontSubstitutions();
        form = std::make_unique<TForm1>(toolkit);
        form->FormActivate();
    }
    void TearDown() override {
        form.reset();
        AppTest::TearDown();
    }
    template <typename T> T* control(const char* name) const {
        T* widget = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString caption() const { return control<QLabel>("StaticText1")->text(); }
    void type(const char* memo, const char* x = nullptr) {
        control<QPlainTextEdit>("Memo1")->setPlainText(QString::fromUtf8(memo));
        if (x) {
            control<QLineEdit>("Edit1")->setText(QString::fromUtf8(x));
        }
    }

    std::unique_ptr<TForm1> form;
};

TEST_F(CalculatorWindowTest, FormHasItsControlsWhereTheyBelong) {
    struct Row {
        const char* name;
        const char* className;
        QRect geometry;
        const char* text;
    };
    const Row rows[] = {
        {"Label1",
         "QLabel",
         {7, -1, 388, 16},
         "Введите формулу для вычислений ( не забудьте ; в конце ):"},
        {"Memo1", "BoundedMemo", {7, 16, 402, 97}, ""},
        {"Label4", "QLabel", {8, 112, 335, 16}, "Введите комментарий к формуле (не обязательно)"},
        {"Memo2", "BoundedMemo", {8, 128, 401, 65}, ""},
        {"Label3", "QLabel", {8, 200, 19, 16}, "x = "},
        {"Edit1", "QLineEdit", {32, 200, 241, 21}, "1"},
        {"BitBtn1", "QPushButton", {280, 199, 131, 26}, "Посчитать"},
        {"StaticText3", "QLabel", {7, 224, 258, 21}, "Цифр в дробной   части :"},
        {"Edit3", "QLineEdit", {232, 224, 41, 21}, "3"},
        {"BitBtn3", "QPushButton", {280, 232, 131, 25}, "Очистить"},
        {"CheckBox1", "QCheckBox", {8, 248, 241, 17}, "- результат в экспоненциальной форме"},
        {"StaticText1", "QLabel", {7, 265, 266, 20}, "Результат="},
        {"BitBtn2", "QPushButton", {280, 263, 131, 26}, "Выйти"},
    };
    for (const Row& row : rows) {
        QWidget* w = control<QWidget>(row.name);
        ASSERT_NE(w, nullptr) << row.name;
        EXPECT_STREQ(w->metaObject()->className(), row.className) << row.name;
        EXPECT_EQ(w->geometry(), row.geometry) << row.name;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            text = edit->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            text = button->text();
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
            text = memo->toPlainText();
        }
        EXPECT_EQ(text.toStdString(), row.text) << row.name;
    }
    EXPECT_EQ(form->windowTitle().toStdString(), "Калькулятор  Тервал ");
    EXPECT_EQ(form->centralWidget()->size(), QSize(410, 292));
    EXPECT_EQ(form->minimumSize(), form->maximumSize()); // fixed border
    EXPECT_FALSE(control<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_TRUE(control<QPushButton>("BitBtn1")->isDefault());
    // Edit3 lies over the right end of StaticText3 and must be drawn above it.
    QWidget* client = form->centralWidget();
    EXPECT_GT(client->children().indexOf(control<QWidget>("Edit3")),
              client->children().indexOf(control<QWidget>("StaticText3")));
}

TEST_F(CalculatorWindowTest, TabOrderFollowsTheForm) {
    QStringList order;
    QWidget* w = control<QWidget>("Memo1");
    for (int i = 0; i < 8; ++i) {
        order << w->objectName();
        do {
            w = w->nextInFocusChain();
        } while (!(w->focusPolicy() & Qt::TabFocus) || w->objectName().isEmpty());
    }
    EXPECT_EQ(order.join(' ').toStdString(),
              "Memo1 BitBtn1 BitBtn2 BitBtn3 Edit1 Memo2 Edit3 CheckBox1");
    EXPECT_TRUE(control<QPlainTextEdit>("Memo1")->tabChangesFocus());
}

TEST_F(CalculatorWindowTest, MainMenuHasItsCaptions) {
    auto* bar = control<QMenuBar>("MainMenu1");
    QStringList top;
    for (QAction* action : bar->actions()) {
        top << action->text();
    }
    EXPECT_EQ(top.join('/').toStdString(), "Формула |/График и уравнение f ( x ) = 0 |/Помощь |");
    QStringList sub;
    for (QAction* action : control<QMenu>("N1")->actions()) {
        sub << action->objectName() + "=" + action->text();
    }
    EXPECT_EQ(sub.join('/').toStdString(), "N2=Новая/N3=Прочесть из файла/N4=Записать в файл");
}

TEST_F(CalculatorWindowTest, EveryCaptionFitsItsControl) {
    // Labels and static texts are drawn from their left edge; a check box and a button need
    // room for their mark or picture as well.
    // A label's text is whole when the label draws as much ink as a roomier twin does.
    for (const char* name : {"Label1", "Label4", "Label3", "StaticText3", "StaticText1"}) {
        auto* label = control<QLabel>(name);
        QLabel twin;
        twin.setFont(label->font());
        twin.setText(label->text());
        twin.setFrameStyle(label->frameStyle());
        twin.setAlignment(label->alignment());
        twin.setIndent(label->indent());
        twin.resize(label->size() + QSize(40, 20));
        const int drawn = inkPixels(label->grab().toImage());
        EXPECT_GT(drawn, 0) << name;
        EXPECT_EQ(drawn, inkPixels(twin.grab().toImage())) << name;
    }
    for (const char* name : {"BitBtn1", "BitBtn2", "BitBtn3", "CheckBox1"}) {
        auto* button = control<QAbstractButton>(name);
        EXPECT_LE(button->sizeHint().width(), button->width()) << name;
        EXPECT_LE(button->fontMetrics().height(), button->height()) << name;
    }
    EXPECT_EQ(control<QLabel>("Label1")->font().pixelSize(), 14);
    EXPECT_EQ(control<QLineEdit>("Edit1")->font().pixelSize(), 10);
    // The menus read in the desktop's menu font, not in the form's small one; the client area
    // keeps its size below the menu bar whatever that font's height.
    EXPECT_EQ(control<QMenuBar>("MainMenu1")->font(), QApplication::font("QMenuBar"));
    EXPECT_EQ(control<QMenu>("N1")->font(), QApplication::font("QMenu"));
    EXPECT_EQ(form->centralWidget()->size(), QSize(410, 292));
    EXPECT_EQ(form->height(), 292 + control<QMenuBar>("MainMenu1")->sizeHint().height());
}

TEST_F(CalculatorWindowTest, ButtonsCarryANormalAndADisabledPicture) {
    for (const char* name : {"BitBtn1", "BitBtn2", "BitBtn3"}) {
        const QIcon icon = control<QPushButton>(name)->icon();
        const QImage normal = icon.pixmap(16, 16, QIcon::Normal).toImage();
        const QImage disabled = icon.pixmap(16, 16, QIcon::Disabled).toImage();
        ASSERT_FALSE(normal.isNull()) << name;
        EXPECT_NE(normal, disabled) << name;
        // Denser screens get pictures of their own size, finer than the enlarged ones.
        for (const int ratio : {2, 3}) {
            const QImage dense = icon.pixmap(QSize(16, 16), ratio).toImage();
            EXPECT_EQ(dense.size(), QSize(16 * ratio, 16 * ratio)) << name;
            EXPECT_NE(dense.convertToFormat(QImage::Format_ARGB32),
                      normal.convertToFormat(QImage::Format_ARGB32)
                          .scaled(dense.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation))
                << name << " " << ratio;
        }
    }
    // At ratio 1 the pictures are drawn as they always were.
    const struct {
        const char* name;
        QImage glyph;
    } glyphs[] = {
        {"BitBtn1", CalculateGlyph()}, {"BitBtn3", ClearGlyph()}, {"BitBtn2", CloseGlyph()}};
    for (const auto& g : glyphs) {
        const QIcon icon = control<QPushButton>(g.name)->icon();
        EXPECT_EQ(icon.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32),
                  g.glyph)
            << g.name;
        EXPECT_EQ(icon.pixmap(QSize(16, 16), 1.0, QIcon::Disabled)
                      .toImage()
                      .convertToFormat(QImage::Format_ARGB32),
                  DisabledGlyph(g.glyph))
            << g.name;
    }
    // The greyed image keeps the shape and uses only white and grey.
    const QImage grey = DisabledGlyph(CalculateGlyph());
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QColor c = grey.pixelColor(x, y);
            if (c.alpha() != 0) {
                EXPECT_TRUE(c == QColor(255, 255, 255) || c == QColor(128, 128, 128));
            }
        }
    }
}

TEST(WindowIconTest, DrawnAtTheDeviceSizeWithTheSizesDrawnAheadAsTheyAre) {
    QImage marker(16, 16, QImage::Format_ARGB32); // stands for the theme's 16-pixel picture
    marker.fill(QColor(255, 0, 0));
    const QString drawing = QStringLiteral(":/icons/io.github.zorvo.Zorvo3.svg");
    const QIcon icon = ScalableIcon(drawing, {marker});
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32),
              marker);
    const struct {
        double ratio;
        int side; // device pixels of a 16-pixel icon
    } rows[] = {{1.25, 20}, {1.5, 24}, {2, 32}, {3, 48}};
    for (const auto& row : rows) {
        const QPixmap pixmap = icon.pixmap(QSize(16, 16), row.ratio);
        EXPECT_EQ(pixmap.devicePixelRatio(), row.ratio);
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(row.side, row.side)) << row.ratio;
        // The drawing itself at that size, not the marker enlarged.
        int marked = 0;
        int opaque = 0;
        for (int y = 0; y < row.side; ++y) {
            for (int x = 0; x < row.side; ++x) {
                marked += image.pixel(x, y) == marker.pixel(0, 0) ? 1 : 0;
                opaque += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
            }
        }
        EXPECT_LT(marked, row.side) << row.ratio;
        EXPECT_GT(opaque, row.side * row.side / 4) << row.ratio;
        const QImage greyed = icon.pixmap(QSize(16, 16), row.ratio, QIcon::Disabled).toImage();
        EXPECT_EQ(greyed.size(), image.size()) << row.ratio;
        EXPECT_NE(greyed.convertToFormat(QImage::Format_ARGB32), image) << row.ratio;
    }
    // Without its drawing the icon still has the pictures drawn ahead.
    const QIcon withoutDrawing = ScalableIcon(QStringLiteral(":/no/such.svg"), {marker});
    EXPECT_EQ(
        withoutDrawing.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32),
        marker);
}

TEST_F(CalculatorWindowTest, TypingAndPressingTheButtonShowsTheResult) {
    QTest::keyClicks(control<QPlainTextEdit>("Memo1"), "1/3;");
    QTest::mouseClick(control<QPushButton>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(caption().toStdString(), "Результат=           0.333");
    control<QCheckBox>("CheckBox1")->setChecked(true);
    QTest::mouseClick(control<QPushButton>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(caption().toStdString(), "Результат=  3.333E-0001");
    EXPECT_EQ(FormulaBody, "1/3;");
    EXPECT_TRUE(toolkit.calls.empty());
}

TEST_F(CalculatorWindowTest, ResultIsSelectableAndItsValueIsCopiedAlone) {
    auto* result = control<QLabel>("StaticText1");
    EXPECT_TRUE(result->textInteractionFlags().testFlags(Qt::TextSelectableByMouse |
                                                         Qt::TextSelectableByKeyboard));
    ASSERT_NE(form->ResultMenu, nullptr);
    QStringList items;
    for (const QAction* action : form->ResultMenu->actions())
        items << action->text();
    EXPECT_EQ(items, (QStringList{"Копировать", "Копировать значение"}));

    // The number alone, with its point, whatever the regional separator.
    SetRegionalSeparators(',', ' ');
    const struct {
        const char* formula;
        bool exponential;
        const char* value;
    } rows[] = {
        {"1/3;", false, "0.333"},
        {"1/3;", true, "3.333E-0001"},
        {"-2/3;", false, "-0.667"},
        {"-2/3;", true, "-6.667E-0001"},
        {"1e20;", false, "100000000000000000000.000"},
    };
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.formula);
        type(row.formula, "1");
        control<QCheckBox>("CheckBox1")->setChecked(row.exponential);
        form->Calculate();
        clipboard->clear();
        form->CopyValueItem->trigger();
        EXPECT_EQ(clipboard->text().toStdString(), row.value);
    }
    ReloadRegionalSettings();

    // Selected with the keyboard and copied with Ctrl+C, as any selectable text.
    form->show();
    form->activateWindow();
    for (int i = 0; i < 200 && !form->isActiveWindow(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    result->setFocus();
    ASSERT_TRUE(result->hasFocus());
    QTest::keyClick(result, Qt::Key_Home);
    QTest::keyClick(result, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(result->selectedText(), caption());
    QTest::keyClick(result, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), caption());

    // After a faulty formula the field holds no number: nothing to copy.
    type("1+;", "1");
    form->Calculate();
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5),
                           result->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(result, &menu);
    EXPECT_TRUE(form->ResultMenu->isVisible());
    EXPECT_FALSE(form->CopyValueItem->isEnabled());
    form->ResultMenu->hide();
}

TEST_F(CalculatorWindowTest, ALongFormulaWrapsOnScreenButStaysOneLine) {
    form->show();
    QString formula = "x";
    while (formula.size() < 200) {
        formula += " + x";
    }
    type((formula + ";").toUtf8().constData(), "1");
    auto* memo = control<QPlainTextEdit>("Memo1");
    EXPECT_GT(memo->document()->documentLayout()->documentSize().height(), 1.5); // wrapped
    form->Calculate();
    EXPECT_EQ(FormulaLine.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(caption().toStdString(), "Результат=          51.000");
}

TEST_F(CalculatorWindowTest, EnterOutsideTheMemosPressesTheDefaultButton) {
    form->show();
    type("2*x;", "4");
    auto* edit3 = control<QLineEdit>("Edit3");
    edit3->setFocus();
    QTest::keyClick(edit3, Qt::Key_Return);
    EXPECT_EQ(caption().toStdString(), "Результат=           8.000");

    // In a memo Enter starts a new line and calculates nothing.
    control<QLabel>("StaticText1")->setText("Результат=");
    auto* memo = control<QPlainTextEdit>("Memo1");
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(caption().toStdString(), "Результат=");
    EXPECT_EQ(memo->toPlainText().toStdString(), "2*x;\n");

    // The check box passes Enter on; a focused button presses itself.
    auto* check = control<QCheckBox>("CheckBox1");
    check->setFocus();
    QTest::keyClick(check, Qt::Key_Enter);
    EXPECT_EQ(caption().toStdString(), "Результат=           8.000");
    auto* clear = control<QPushButton>("BitBtn3");
    clear->setFocus();
    QTest::keyClick(clear, Qt::Key_Return);
    EXPECT_TRUE(memo->toPlainText().isEmpty());
    EXPECT_EQ(caption().toStdString(), "Результат=           8.000");
}

TEST_F(CalculatorWindowTest, MessagesOfTheCommandReachTheMessageBox) {
    type("1;", "abc");
    form->BitBtn1Click();
    type("1;", "1");
    control<QLineEdit>("Edit3")->setText("-");
    form->BitBtn1Click();
    control<QLineEdit>("Edit3")->setText("3");
    type("1+;");
    form->BitBtn1Click();
    const std::vector<std::string> messages = toolkit.Messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0], BadXMessage());
    EXPECT_EQ(messages[1], BadDigitsMessage());
    EXPECT_EQ(messages[2], BadFormulaMessage());
    EXPECT_EQ(caption().toStdString(), fromCp1251(ResultCaption()));
}

TEST_F(CalculatorWindowTest, ClearingEmptiesOnlyTheMemos) {
    type("1/3;");
    control<QPlainTextEdit>("Memo2")->setPlainText("comment");
    control<QLineEdit>("Edit3")->setText("5");
    form->BitBtn1Click();
    const QString result = caption();
    for (void (TForm1::*clear)() : {&TForm1::BitBtn3Click, &TForm1::N2Click}) {
        type("1;");
        control<QPlainTextEdit>("Memo2")->setPlainText("comment");
        (form.get()->*clear)();
        EXPECT_TRUE(control<QPlainTextEdit>("Memo1")->toPlainText().isEmpty());
        EXPECT_TRUE(control<QPlainTextEdit>("Memo2")->toPlainText().isEmpty());
        EXPECT_EQ(control<QLineEdit>("Edit3")->text(), "5");
        EXPECT_EQ(caption(), result);
    }
}

TEST_F(CalculatorWindowTest, HelpOpensTopicOneFromTheMenuAndF1) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    toolkit.calls.clear();
    control<QAction>("N7")->trigger();
    QTest::keyClick(control<QPlainTextEdit>("Memo1"), Qt::Key_F1);
    ASSERT_EQ(toolkit.calls.size(), 2u);
    for (const ScriptedToolkit::Call& call : toolkit.calls) {
        EXPECT_EQ(call.kind, ScriptedToolkit::CallKind::Help);
        EXPECT_EQ(call.text, "Zorvo_d.hlp");
        EXPECT_EQ(call.context, 1);
    }
}

TEST_F(CalculatorWindowTest, GraphMenuItemShowsTheGraphWindow) {
    int shown = 0;
    form->SetShowGraphWindow([&shown] { ++shown; });
    control<QAction>("N5")->trigger();
    EXPECT_EQ(shown, 1);
}

TEST_F(CalculatorWindowTest, ActivationFillsLettersAndResetsX) {
    LetterSet.reset();
    LetterSet.set(0x80);
    control<QLineEdit>("Edit1")->setText("7");
    form->FormActivate();
    EXPECT_EQ(LetterSet.count(), 52u);
    EXPECT_TRUE(LetterSet.test('A') && LetterSet.test('z'));
    EXPECT_FALSE(LetterSet.test(0x80));
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), "1");
}

TEST_F(CalculatorWindowTest, ErrorsOfAHandlerReachTheErrorBoxAndTheWindowGoesOn) {
    type("x;", "1E5000");
    control<QPushButton>("BitBtn1")->click();
    ASSERT_EQ(toolkit.Errors().size(), 1u);
    EXPECT_EQ(toolkit.Errors()[0], "Floating point overflow.");
    EXPECT_EQ(caption().toStdString(), "Результат=");
    type("EXP(x);", "20000");
    control<QPushButton>("BitBtn1")->click();
    ASSERT_EQ(toolkit.Errors().size(), 2u);
    EXPECT_EQ(toolkit.Errors()[1], "Floating point overflow.");
    type("x;", "2");
    control<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(caption().toStdString(), "Результат=           2.000");
}

// A box runs a nested event loop; what the user does in the window meanwhile starts no second
// command, and the window's activation runs FormActivate once the command has returned.
TEST_F(CalculatorWindowTest, NothingStartsWhileACommandShowsABox) {
    int graphShown = 0;
    int closed = 0;
    form->SetShowGraphWindow([&graphShown] { ++graphShown; });
    QObject::connect(form.get(), &TForm1::closed, [&closed] { ++closed; });
    auto* memo = control<QPlainTextEdit>("Memo1");
    auto* x = control<QLineEdit>("Edit1");
    const struct {
        const char* name;
        std::function<void()> act; // done inside the formula message of "Посчитать"
    } rows[] = {
        {"Посчитать", [this] { control<QPushButton>("BitBtn1")->click(); }},
        {"Enter", [this] { QTest::keyClick(control<QLineEdit>("Edit3"), Qt::Key_Return); }},
        {"Очистить", [this] { control<QPushButton>("BitBtn3")->click(); }},
        {"Новая", [this] { control<QAction>("N2")->trigger(); }},
        {"Прочесть из файла", [this] { control<QAction>("N3")->trigger(); }},
        {"Записать в файл", [this] { control<QAction>("N4")->trigger(); }},
        {"График", [this] { control<QAction>("N5")->trigger(); }},
        {"Помощь", [this] { control<QAction>("N7")->trigger(); }},
        {"Выйти", [this] { control<QPushButton>("BitBtn2")->click(); }},
        {"close box", [this] { form->close(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        type("1+;", "7");
        toolkit.calls.clear();
        bool acted = false;
        toolkit.whileOpen = [&](const ScriptedToolkit::Call&) {
            if (!acted) {
                acted = true;
                row.act();
            }
        };
        control<QPushButton>("BitBtn1")->click();
        toolkit.whileOpen = nullptr;
        EXPECT_TRUE(acted);
        // The formula message alone: no second message, file dialog or help.
        EXPECT_EQ(toolkit.calls.size(), 1u);
        EXPECT_EQ(fromCp1251(toolkit.calls.at(0).text),
                  "Где-то в выражении ошибка...Исправьте и повторите попытку");
        EXPECT_EQ(memo->toPlainText(), "1+;");
        EXPECT_EQ(graphShown, 0);
        EXPECT_EQ(closed, 0);
    }

    QString xInBox;
    toolkit.whileOpen = [&](const ScriptedToolkit::Call&) {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(form.get(), &activate);
        xInBox = x->text();
    };
    control<QPushButton>("BitBtn1")->click();
    toolkit.whileOpen = nullptr;
    EXPECT_EQ(xInBox, "7");
    EXPECT_EQ(x->text(), "1");
}

} // namespace
