#pragma once

#include <QDialog>
#include <QSpinBox>
#include <optional>

#include "core/game_settings.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// A spin box whose text field takes any keystroke: the text is read when it is
// needed, as ReadSpinText reads it, instead of refusing what is typed.
class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    TSpinEdit(int minimum, int maximum, int value, QWidget* parent);

    // The value the text reads as; the box shows that value from then on.
    int Read();

signals:
    // A mouse press into the text field; the arrows do not count.
    void clicked();

protected:
    QValidator::State validate(QString& text, int& position) const override;
    int valueFromText(const QString& text) const override;
    QString textFromValue(int value) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The setup dialog "下準備": cave size, the falling speed that kills and
// beginner mode. Created once at program start; it keeps its settings from
// one opening to the next.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // Shows the dialog modally: the size, beginner mode and the fatal speed
    // chosen when closed with the start button, nothing when cancelled.
    std::optional<GameSettings> Run();

    QPushButton* btnStart;
    QPushButton* btnQuit;
    QGroupBox* GroupBox1;
    QRadioButton* rbtCaveLarge;
    QRadioButton* rbtCaveMedium;
    QRadioButton* rbtCaveSmall;
    QRadioButton* rbtCaveMinimum;
    QRadioButton* rbtCaveCustom;
    QGroupBox* GroupBox2;
    QLabel* Label1;
    QLabel* Label2;
    TSpinEdit* speCaveWidth;
    TSpinEdit* speCaveHeight;
    QGroupBox* GroupBox3;
    QLabel* Label3;
    TSpinEdit* speSpeedToDeath;
    QCheckBox* CheckBox1;
    QCheckBox* chkBeginner;

public slots:
    void rbtCaveLargeClick();
    void rbtCaveMediumClick();
    void rbtCaveSmallClick();
    void rbtCaveMinimumClick();
    // Shared by both size boxes.
    void speCaveWidthClick();
};
