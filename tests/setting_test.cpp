#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

#include "screens/setting.h"

namespace {

class SettingTest : public ::testing::Test {
protected:
    TForm2 form;

    // Opens the dialog as the game does and does `steps` while it shows.
    std::optional<GameSettings> Open(const std::function<void()>& steps)
    {
        QTimer::singleShot(0, &form, [&] {
            if (QTest::qWaitForWindowActive(&form)) steps();
            if (form.isVisible()) {
                ADD_FAILURE() << "the dialog is still open";
                form.done(QDialog::Rejected);
            }
        });
        return form.Run();
    }
    void Show()
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    QWidget* Focus() { return QApplication::focusWidget() ? QApplication::focusWidget() : &form; }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(Focus(), key, modifiers); }
    void Type(const char* text) { QTest::keyClicks(Focus(), text); }
    // One auto-repeat of a key held since before the dialog opened, as X11 sends it.
    void Repeat(Qt::Key key, const char* text = "")
    {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, Qt::NoModifier, text, true);
            QApplication::sendEvent(Focus(), &event);
        }
    }
    static void Click(QWidget* widget, QPoint at = {}) { QTest::mouseClick(widget, Qt::LeftButton, {}, at); }
    static void ClickRadio(QRadioButton* radio) { Click(radio, QPoint(6, radio->height() / 2)); }
    static void ClickText(TSpinEdit* box) { Click(box->findChild<QLineEdit*>()); }
    static void ClickUpArrow(TSpinEdit* box) { Click(box, QPoint(box->width() - 6, 5)); }
    void ExpectSizes(int width, int height) const
    {
        EXPECT_EQ(form.speCaveWidth->value(), width);
        EXPECT_EQ(form.speCaveHeight->value(), height);
    }
};

void ExpectChoice(const std::optional<GameSettings>& choice, bool beginner, int width, int height, int speed)
{
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->beginner, beginner);
    EXPECT_EQ(choice->width, width);
    EXPECT_EQ(choice->height, height);
    EXPECT_EQ(choice->speedToDeath, speed);
}

TEST_F(SettingTest, FirstOpeningIsMediumAndEnterStartsAHundredByAHundred)
{
    const auto choice = Open([&] {
        EXPECT_TRUE(form.rbtCaveMedium->isChecked());
        Key(Qt::Key_Return);
    });
    ExpectChoice(choice, false, 100, 100, 11);
}

TEST_F(SettingTest, PresetsSetBothSizesAndOnlyAClickIntoASizeBoxSelectsCustom)
{
    Show();
    ClickRadio(form.rbtCaveLarge);
    ExpectSizes(216, 216);
    ClickText(form.speCaveWidth);
    EXPECT_TRUE(form.rbtCaveCustom->isChecked());
    ExpectSizes(216, 216);
    ClickRadio(form.rbtCaveSmall);
    ExpectSizes(50, 50);
    ClickRadio(form.rbtCaveMinimum);
    ExpectSizes(1, 1);
    ClickText(form.speCaveHeight);
    EXPECT_TRUE(form.rbtCaveCustom->isChecked());
    ClickRadio(form.rbtCaveMedium);
    ClickRadio(form.rbtCaveCustom);  // changes no value
    ExpectSizes(100, 100);

    ClickRadio(form.rbtCaveMedium);
    Key(Qt::Key_W, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.speCaveWidth);
    Type("7");
    Key(Qt::Key_Up);
    ClickUpArrow(form.speCaveHeight);
    ExpectSizes(8, 101);
    EXPECT_TRUE(form.rbtCaveMedium->isChecked());
}

TEST_F(SettingTest, TypedTextIsClampedAndNonNumbersReadAsTheMinimum)
{
    const auto choice = Open([&] {
        Key(Qt::Key_W, Qt::AltModifier);
        Type("300");
        EXPECT_EQ(form.speCaveWidth->text(), "300");  // every keystroke is taken; the reading clamps
        Key(Qt::Key_H, Qt::AltModifier);
        Type("abc");
        Key(Qt::Key_D, Qt::AltModifier);
        Type("xy");
        Key(Qt::Key_Return);
    });
    ExpectChoice(choice, false, 216, 1, 0);
    EXPECT_EQ(form.speCaveWidth->text(), "216");
}

TEST_F(SettingTest, EveryWayOfCancellingKeepsTheSettingsForTheNextOpening)
{
    EXPECT_FALSE(Open([&] {
        ClickRadio(form.rbtCaveLarge);
        Click(form.chkBeginner);
        Key(Qt::Key_D, Qt::AltModifier);
        Type("5");
        Key(Qt::Key_Escape);
    }));
    EXPECT_FALSE(Open([&] { form.windowHandle()->close(); }));  // the close box
    EXPECT_FALSE(Open([&] { Click(form.btnQuit); }));
    const auto choice = Open([&] {
        EXPECT_TRUE(form.rbtCaveLarge->isChecked());
        Key(Qt::Key_Return);  // starts, although the quit button had the focus when it closed
    });
    ExpectChoice(choice, true, 216, 216, 5);
}

TEST_F(SettingTest, AKeyHeldFromTheTitleDoesNothingUntilPressedAgain)
{
    const auto choice = Open([&] {
        Repeat(Qt::Key_Return);
        Repeat(Qt::Key_Down);
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.rbtCaveMedium->isChecked());
        Key(Qt::Key_Down);
        Repeat(Qt::Key_Down);  // pressed anew, so its repeats count
        EXPECT_TRUE(form.rbtCaveMinimum->isChecked());
        Key(Qt::Key_W, Qt::AltModifier);
        Repeat(Qt::Key_Z, "z");
        Key(Qt::Key_Return);
    });
    ExpectChoice(choice, false, 1, 1, 11);
}

TEST_F(SettingTest, AcceleratorsChooseAndFocus)
{
    Show();
    Key(Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.rbtCaveLarge->isChecked(); }));
    ExpectSizes(216, 216);
    Key(Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.speCaveHeight);
    Key(Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.speSpeedToDeath);
    Key(Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.chkBeginner->isChecked(); }));
    Click(form.CheckBox1);
    EXPECT_FALSE(form.CheckBox1->isEnabled());
    EXPECT_FALSE(form.CheckBox1->isChecked());
}

TEST_F(SettingTest, TheWindowIsFixedAndTheCustomRadioHeadsTheSizeFrame)
{
    EXPECT_EQ(form.windowTitle(), "下準備");
    EXPECT_EQ(form.size(), QSize(295, 215));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.pos(), QPoint(212, 150));
    EXPECT_EQ(QFontInfo(form.font()).family(), "IPAPGothic");
    EXPECT_EQ(QFontInfo(form.font()).pixelSize(), 12);
    const QPoint heading = form.rbtCaveCustom->geometry().center();
    EXPECT_EQ(form.GroupBox1->childAt(heading), form.rbtCaveCustom);
    EXPECT_TRUE(form.GroupBox2->geometry().contains(heading));
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>()) {  // no caption cut off
        QStyleOptionButton option;
        option.initFrom(button);
        const auto contents = qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                              : qobject_cast<QCheckBox*>(button)  ? QStyle::SE_CheckBoxContents
                                                                  : QStyle::SE_PushButtonContents;
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text().remove('&')),
                  button->style()->subElementRect(contents, &option, button).width())
            << button->text().toStdString();
    }
}

TEST_F(SettingTest, EveryControlSaysInEnglishWhatItDoes)
{
    int controls = 0;
    for (QWidget* control : form.findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(control)) continue;  // the text field inside a spin box
        const QString tip = control->toolTip();
        EXPECT_FALSE(tip.isEmpty()) << control->metaObject()->className() << " " << control->property("text").toString().toStdString();
        for (QChar c : tip) ASSERT_LT(c.unicode(), 128) << tip.toStdString();
        ++controls;
    }
    EXPECT_EQ(controls, 18);  // the dialog's eighteen controls
    EXPECT_EQ(form.rbtCaveLarge->toolTip(), "Large cave: 216 by 216 cells");
}

}  // namespace
