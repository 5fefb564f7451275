#include "screens/setting.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStyle>
#include <QStyleFactory>

#include "screens/spin_text.h"

namespace {

constexpr int LargeSize = 216;
constexpr int MediumSize = 100;
constexpr int SmallSize = 50;
constexpr int MinimumSize = 1;

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

template <typename Control>
Control* Place(Control* control, int left, int top, int width, int height)
{
    control->setGeometry(left, top, width, height);
    return control;
}

// A label at its place, as wide as its text; its accelerator focuses `buddy`.
QLabel* PlaceLabel(QWidget* parent, const char* caption, int left, int top, QWidget* buddy)
{
    auto* label = new QLabel(Text(caption), parent);
    label->setBuddy(buddy);
    label->adjustSize();
    label->move(left, top);
    return label;
}

// The title screen opens the dialog while a button key is held, and the key's
// auto-repeat then arrives here: held Enter would start at once, held Z would
// type into a size box. While it lives, a key repeating without having been
// pressed anew does nothing.
class HeldKeyFilter : public QObject {
public:
    HeldKeyFilter() { QCoreApplication::instance()->installEventFilter(this); }
    ~HeldKeyFilter() override { QCoreApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            pressedHere_.insert(key->key());
            return false;
        }
        return !pressedHere_.contains(key->key());
    }

private:
    QSet<int> pressedHere_;
};

// Every control says in English what it does; the captions stay as they are.
void AddEnglishTooltips(TForm2& form)
{
    const std::pair<QWidget*, const char*> tips[] = {
        {form.GroupBox1, "Cave size: how many cells wide and high the cave is"},
        {form.rbtCaveLarge, "Large cave: 216 by 216 cells"},
        {form.rbtCaveMedium, "Medium cave: 100 by 100 cells"},
        {form.rbtCaveSmall, "Small cave: 50 by 50 cells"},
        {form.rbtCaveMinimum, "Smallest cave: 1 by 1 cell"},
        {form.rbtCaveCustom, "Custom size: the width and height set below"},
        {form.GroupBox2, "A cave of your own size, 1 to 216 cells each way"},
        {form.Label1, "Width of the cave in cells, 1 to 216"},
        {form.speCaveWidth, "Width of the cave in cells, 1 to 216"},
        {form.Label2, "Height of the cave in cells, 1 to 216"},
        {form.speCaveHeight, "Height of the cave in cells, 1 to 216"},
        {form.GroupBox3, "Other settings"},
        {form.Label3, "Fatal falling speed, 0 to 16: a fall faster than this many pixels a tick kills"},
        {form.speSpeedToDeath,
         "Fatal falling speed, 0 to 16: a fall faster than this many pixels a tick kills. "
         "At 11, the default, a drop of one cell is survived and two are fatal; "
         "at 16 no fall kills; at 0 every fall and jump does"},
        {form.chkBeginner, "Beginner: start with nine of every item"},
        {form.CheckBox1, "With a map: not available, always off"},
        {form.btnStart, "Start exploring (Enter)"},
        {form.btnQuit, "Never mind: back to the title screen (Esc)"},
    };
    for (const auto& [control, tip] : tips) control->setToolTip(Text(tip));
}

}  // namespace

TSpinEdit::TSpinEdit(int minimum, int maximum, int value, QWidget* parent) : QSpinBox(parent)
{
    setRange(minimum, maximum);
    setValue(value);
    lineEdit()->installEventFilter(this);
}

int TSpinEdit::Read()
{
    setValue(ReadSpinText(text().toStdString(), minimum(), maximum()));
    return value();
}

QValidator::State TSpinEdit::validate(QString&, int&) const
{
    return QValidator::Acceptable;
}

int TSpinEdit::valueFromText(const QString& text) const
{
    return ReadSpinText(text.toStdString(), minimum(), maximum());
}

QString TSpinEdit::textFromValue(int value) const
{
    return QString::number(value);  // plain digits whatever the locale, so the text reads back
}

bool TSpinEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        emit clicked();
    return QSpinBox::eventFilter(watched, event);
}

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(Text("下準備"));
    QFont font(Text("IPAPGothic"));
    font.setPixelSize(12);
    setFont(font);
    setFixedSize(295, 215);
    move(212, 150);

    GroupBox1 = Place(new QGroupBox(Text("洞窟の広さ"), this), 8, 8, 137, 169);
    rbtCaveLarge = Place(new QRadioButton(Text("広い(&L)"), GroupBox1), 16, 16, 113, 17);
    rbtCaveMedium = Place(new QRadioButton(Text("中くらい(&M)"), GroupBox1), 16, 32, 113, 17);
    rbtCaveSmall = Place(new QRadioButton(Text("狭い(&S)"), GroupBox1), 16, 48, 113, 17);
    rbtCaveMinimum = Place(new QRadioButton(Text("最小(&N)"), GroupBox1), 16, 64, 113, 17);
    rbtCaveCustom = Place(new QRadioButton(Text("カスタム(&C)"), GroupBox1), 16, 80, 81, 17);
    // The custom radio is the heading of the size boxes' frame: it lies opaque
    // over the frame's own title.
    GroupBox2 = Place(new QGroupBox(Text("カスタム"), GroupBox1), 8, 80, 121, 81);
    rbtCaveCustom->setAutoFillBackground(true);
    rbtCaveCustom->raise();
    rbtCaveMedium->setChecked(true);

    speCaveWidth = Place(new TSpinEdit(1, LargeSize, MediumSize, GroupBox2), 56, 24, 49, 21);
    speCaveHeight = Place(new TSpinEdit(1, LargeSize, MediumSize, GroupBox2), 56, 48, 49, 21);
    Label1 = PlaceLabel(GroupBox2, "幅(&W)", 16, 32, speCaveWidth);
    Label2 = PlaceLabel(GroupBox2, "高さ(&H)", 16, 56, speCaveHeight);

    GroupBox3 = Place(new QGroupBox(Text("その他もろもろ"), this), 152, 8, 137, 169);
    speSpeedToDeath = Place(new TSpinEdit(0, 16, 11, GroupBox3), 80, 16, 49, 21);
    Label3 = PlaceLabel(GroupBox3, "死亡速度(&D)", 8, 24, speSpeedToDeath);
    chkBeginner = Place(new QCheckBox(Text("初心者です(&B)"), GroupBox3), 8, 48, 97, 17);
    CheckBox1 = Place(new QCheckBox(Text("マップあり(&P)"), GroupBox3), 8, 72, 121, 17);
    CheckBox1->setEnabled(false);

    btnStart = Place(new QPushButton(Text("探検開始"), this), 120, 184, 81, 25);
    btnQuit = Place(new QPushButton(Text("やっぱヤメ"), this), 208, 184, 81, 25);
    btnStart->setDefault(true);

    QWidget* tabOrder[] = {rbtCaveLarge, rbtCaveMedium, rbtCaveSmall, rbtCaveMinimum, rbtCaveCustom,
                           speCaveWidth, speCaveHeight, speSpeedToDeath, chkBeginner, CheckBox1,
                           btnStart, btnQuit};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // The classic look, whose frame titles sit on the frame line: the places
    // above are made for it.
    if (QStyle* classic = QStyleFactory::create(Text("Windows"))) {
        classic->setParent(this);
        setStyle(classic);
        for (QWidget* child : findChildren<QWidget*>()) child->setStyle(classic);
    }

    connect(rbtCaveLarge, &QRadioButton::clicked, this, &TForm2::rbtCaveLargeClick);
    connect(rbtCaveMedium, &QRadioButton::clicked, this, &TForm2::rbtCaveMediumClick);
    connect(rbtCaveSmall, &QRadioButton::clicked, this, &TForm2::rbtCaveSmallClick);
    connect(rbtCaveMinimum, &QRadioButton::clicked, this, &TForm2::rbtCaveMinimumClick);
    connect(speCaveWidth, &TSpinEdit::clicked, this, &TForm2::speCaveWidthClick);
    connect(speCaveHeight, &TSpinEdit::clicked, this, &TForm2::speCaveWidthClick);
    connect(btnStart, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnQuit, &QPushButton::clicked, this, &QDialog::reject);
    AddEnglishTooltips(*this);
}

std::optional<GameSettings> TForm2::Run()
{
    // Every opening starts on the chosen size, so Enter starts at once.
    for (QRadioButton* size : {rbtCaveLarge, rbtCaveMedium, rbtCaveSmall, rbtCaveMinimum, rbtCaveCustom})
        if (size->isChecked()) size->setFocus();
    HeldKeyFilter heldKeys;
    if (exec() != QDialog::Accepted) return std::nullopt;
    GameSettings choice;
    choice.beginner = chkBeginner->isChecked();
    choice.width = speCaveWidth->Read();
    choice.height = speCaveHeight->Read();
    choice.speedToDeath = speSpeedToDeath->Read();
    return choice;
}

void TForm2::rbtCaveLargeClick()
{
    speCaveWidth->setValue(LargeSize);
    speCaveHeight->setValue(LargeSize);
}

void TForm2::rbtCaveMediumClick()
{
    speCaveWidth->setValue(MediumSize);
    speCaveHeight->setValue(MediumSize);
}

void TForm2::rbtCaveSmallClick()
{
    speCaveWidth->setValue(SmallSize);
    speCaveHeight->setValue(SmallSize);
}

void TForm2::rbtCaveMinimumClick()
{
    speCaveWidth->setValue(MinimumSize);
    speCaveHeight->setValue(MinimumSize);
}

void TForm2::speCaveWidthClick()
{
    rbtCaveCustom->setChecked(true);
}
