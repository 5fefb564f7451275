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

#include "screens/setup_form.h"
#include "screens/spin_text.h"

namespace {

QString Text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

QString Caption(std::string_view name) { return Text(SetupControlNamed(name).caption); }

// The named control, named so that its help finds it.
template <typename Control>
Control* Named(Control* control, std::string_view name)
{
    control->setObjectName(Text(name));
    return control;
}

TSpinEdit* SpinBox(std::string_view name, QWidget* parent)
{
    const SetupControl& box = SetupControlNamed(name);
    return Named(new TSpinEdit(box.minimum, box.maximum, box.value, parent), name);
}

int Preset(std::string_view radio) { return SetupControlNamed(radio).preset; }

template <typename Control>
Control* Place(Control* control, int left, int top, int width, int height)
{
    control->setGeometry(left, top, width, height);
    return control;
}

// A label at its place, as wide as its text; its accelerator focuses `buddy`.
QLabel* PlaceLabel(QWidget* parent, std::string_view name, int left, int top, QWidget* buddy)
{
    auto* label = Named(new QLabel(Caption(name), parent), name);
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
    for (QWidget* control : form.findChildren<QWidget*>())
        for (const SetupControl& defined : SetupControls)
            if (control->objectName().toStdString() == defined.name) control->setToolTip(Text(defined.help));
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
    setWindowTitle(Text(SetupCaption));
    QFont font(Text("IPAPGothic"));
    font.setPixelSize(12);
    setFont(font);
    setFixedSize(295, 215);
    move(212, 150);

    GroupBox1 = Place(Named(new QGroupBox(Caption("GroupBox1"), this), "GroupBox1"), 8, 8, 137, 169);
    rbtCaveLarge = Place(Named(new QRadioButton(Caption("rbtCaveLarge"), GroupBox1), "rbtCaveLarge"), 16, 16, 113, 17);
    rbtCaveMedium = Place(Named(new QRadioButton(Caption("rbtCaveMedium"), GroupBox1), "rbtCaveMedium"), 16, 32, 113, 17);
    rbtCaveSmall = Place(Named(new QRadioButton(Caption("rbtCaveSmall"), GroupBox1), "rbtCaveSmall"), 16, 48, 113, 17);
    rbtCaveMinimum = Place(Named(new QRadioButton(Caption("rbtCaveMinimum"), GroupBox1), "rbtCaveMinimum"), 16, 64, 113, 17);
    rbtCaveCustom = Place(Named(new QRadioButton(Caption("rbtCaveCustom"), GroupBox1), "rbtCaveCustom"), 16, 80, 81, 17);
    // The custom radio is the heading of the size boxes' frame: it lies opaque
    // over the frame's own title.
    GroupBox2 = Place(Named(new QGroupBox(Caption("GroupBox2"), GroupBox1), "GroupBox2"), 8, 80, 121, 81);
    rbtCaveCustom->setAutoFillBackground(true);
    rbtCaveCustom->raise();
    rbtCaveMedium->setChecked(true);

    speCaveWidth = Place(SpinBox("speCaveWidth", GroupBox2), 56, 24, 49, 21);
    speCaveHeight = Place(SpinBox("speCaveHeight", GroupBox2), 56, 48, 49, 21);
    Label1 = PlaceLabel(GroupBox2, "Label1", 16, 32, speCaveWidth);
    Label2 = PlaceLabel(GroupBox2, "Label2", 16, 56, speCaveHeight);

    GroupBox3 = Place(Named(new QGroupBox(Caption("GroupBox3"), this), "GroupBox3"), 152, 8, 137, 169);
    speSpeedToDeath = Place(SpinBox("speSpeedToDeath", GroupBox3), 80, 16, 49, 21);
    Label3 = PlaceLabel(GroupBox3, "Label3", 8, 24, speSpeedToDeath);
    chkBeginner = Place(Named(new QCheckBox(Caption("chkBeginner"), GroupBox3), "chkBeginner"), 8, 48, 97, 17);
    CheckBox1 = Place(Named(new QCheckBox(Caption("CheckBox1"), GroupBox3), "CheckBox1"), 8, 72, 121, 17);
    CheckBox1->setEnabled(false);

    btnStart = Place(Named(new QPushButton(Caption("btnStart"), this), "btnStart"), 120, 184, 81, 25);
    btnQuit = Place(Named(new QPushButton(Caption("btnQuit"), this), "btnQuit"), 208, 184, 81, 25);
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
    speCaveWidth->setValue(Preset("rbtCaveLarge"));
    speCaveHeight->setValue(Preset("rbtCaveLarge"));
}

void TForm2::rbtCaveMediumClick()
{
    speCaveWidth->setValue(Preset("rbtCaveMedium"));
    speCaveHeight->setValue(Preset("rbtCaveMedium"));
}

void TForm2::rbtCaveSmallClick()
{
    speCaveWidth->setValue(Preset("rbtCaveSmall"));
    speCaveHeight->setValue(Preset("rbtCaveSmall"));
}

void TForm2::rbtCaveMinimumClick()
{
    speCaveWidth->setValue(Preset("rbtCaveMinimum"));
    speCaveHeight->setValue(Preset("rbtCaveMinimum"));
}

void TForm2::speCaveWidthClick()
{
    rbtCaveCustom->setChecked(true);
}
