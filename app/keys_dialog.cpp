#include "app/keys_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QVBoxLayout>
#include <algorithm>
#include <bit>

#include "app/main_window.h"

namespace {

constexpr int PadSelectRow = ControlCount;
constexpr int PadUseRow = ControlCount + 1;
constexpr int PadMilliseconds = 50;

// What a row's button says while it does not wait: a key or a button is added.
constexpr std::string_view AddCaption = "＋";
constexpr std::string_view PadWaitingGloss = "press a button of the pad (Esc cancels)";

QString Text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

bool IsPadRow(int row) { return row >= PadSelectRow; }

bool IsModifier(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R: return true;
    default: return false;
    }
}

const KeysFormButton& FormButton(std::string_view name)
{
    for (const KeysFormButton& button : KeysFormButtons)
        if (button.name == name) return button;
    return KeysFormButtons.front();
}

}  // namespace

KeysDialog::KeysDialog(const KeyBindings& bindings, PadReader pad, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      bindings_(bindings),
      pad_(std::move(pad))
{
    setWindowTitle(Text(KeysCaption));
    QFont font(Text("IPAPGothic"));
    font.setPixelSize(12);
    setFont(font);
    QFont small = font;
    small.setPixelSize(10);
    // The setup dialog's classic look.
    if ((classic_ = QStyleFactory::create(Text("Windows")))) {
        classic_->setParent(this);
        setStyle(classic_);
    }

    const bool padFound = pad_ && pad_().has_value();
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    for (int r = 0; r < int(KeysFormRows.size()); ++r) {
        const KeysFormRow& form = KeysFormRows[std::size_t(r)];
        Row& row = rows_[std::size_t(r)];
        const QString help = Text(form.help);
        auto* caption = Styled(new QLabel(Text(form.caption), this));
        auto* gloss = Styled(new QLabel(Text(form.gloss), this));
        gloss->setFont(small);
        gloss->setStyleSheet(QStringLiteral("color: #606060"));
        row.wait = Styled(new QPushButton(this));
        row.wait->setObjectName(Text(form.name));
        row.wait->setAutoDefault(false);
        row.wait->setFixedHeight(20);
        caption->setBuddy(row.wait);
        for (QWidget* w : {static_cast<QWidget*>(caption), static_cast<QWidget*>(gloss), static_cast<QWidget*>(row.wait)})
            w->setToolTip(help);
        grid->addWidget(caption, r, 0);
        grid->addWidget(gloss, r, 1);
        // The keys, or the pad's buttons, then the button that waits for one more.
        auto* keys = new QHBoxLayout;
        keys->setSpacing(2);
        if (IsPadRow(r)) {
            for (int b = 0; b < 4; ++b) {
                auto* button = Styled(new QCheckBox(QString::number(b + 1), this));
                button->setObjectName(Text(form.name) + ":" + QString::number(b + 1));
                button->setToolTip(QStringLiteral("Button %1 of the pad").arg(b + 1));
                connect(button, &QCheckBox::clicked, this, [this, r, b](bool on) { TogglePadButton(r, b, on); });
                row.padButtons[std::size_t(b)] = button;
                keys->addWidget(button);
            }
            if (!padFound) {
                row.wait->setEnabled(false);
                row.wait->setToolTip(help + QStringLiteral(" (no pad found: tick its buttons 1 to 4 here)"));
            }
        } else {
            row.keys = new QHBoxLayout;
            row.keys->setSpacing(2);
            keys->addLayout(row.keys);
        }
        keys->addSpacing(4);
        keys->addWidget(row.wait);
        keys->addStretch();
        grid->addLayout(keys, r, 2);
        connect(row.wait, &QPushButton::clicked, this, [this, r] {
            if (waiting_ == r) StopWaiting();
            else Wait(r);
        });
    }
    grid->setColumnMinimumWidth(2, 300);

    message_ = Styled(new QLabel(this));
    message_->setObjectName(QStringLiteral("message"));
    message_->setMinimumHeight(18);

    // The buttons at the foot, each named and helped as the form says.
    const auto footed = [this](auto* widget, std::string_view name) {
        const KeysFormButton& form = FormButton(name);
        widget->setText(Text(form.caption));
        widget->setObjectName(Text(form.name));
        widget->setToolTip(Text(form.help));
        return Styled(widget);
    };
    auto* defaults = footed(new QPushButton(this), "defaults");
    keep_ = footed(new QCheckBox(this), "keep");
    auto* ok = footed(new QPushButton(this), "ok");
    auto* cancel = footed(new QPushButton(this), "cancel");
    defaults->setAutoDefault(false);
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    for (QPushButton* button : {defaults, ok, cancel}) button->setMinimumSize(81, 25);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaults);
    buttons->addWidget(keep_);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* whole = new QVBoxLayout(this);
    whole->setSizeConstraint(QLayout::SetFixedSize);
    whole->setContentsMargins(8, 8, 8, 8);
    whole->addLayout(grid);
    whole->addWidget(message_);
    whole->addLayout(buttons);

    connect(defaults, &QPushButton::clicked, this, [this] {
        StopWaiting();
        bindings_ = KeyBindings::Defaults();
        Say("");
        Refresh();
    });
    footer_ = {defaults, keep_, ok, cancel};
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    padTimer_.setInterval(PadMilliseconds);
    connect(&padTimer_, &QTimer::timeout, this, &KeysDialog::PollPad);
    Refresh();
    // Space at once waits for a key of the first row, Enter closes with OK.
    rows_.front().wait->setFocus();
    // Keys are taken before any widget of the dialog sees them: Tab, Enter,
    // Space and the arrows would otherwise move the focus or press a button.
    qApp->installEventFilter(this);
}

KeysDialog::~KeysDialog() { qApp->removeEventFilter(this); }

template <typename Widget>
Widget* KeysDialog::Styled(Widget* widget)
{
    if (classic_) widget->setStyle(classic_);
    return widget;
}

std::optional<KeysChoice> KeysDialog::Run()
{
    if (exec() != QDialog::Accepted) return std::nullopt;
    return KeysChoice{bindings_, keep_->isChecked()};
}

void KeysDialog::done(int result)
{
    StopWaiting();
    QDialog::done(result);
}

bool KeysDialog::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || !isVisible()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
        if (type == QEvent::KeyPress) reject();
        event->accept();
        return true;
    }
    if (waiting_ < 0) return false;
    // While a row waits, every key is the row's: no accelerator, no default button.
    if (type == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (type == QEvent::KeyPress && !key->isAutoRepeat() && !IsModifier(key->key())) TakeKey(VirtualKeyOf(key->key()));
    return true;
}

void KeysDialog::Wait(int row)
{
    StopWaiting();
    waiting_ = row;
    Say(std::string(IsPadRow(row) ? PadWaitingGloss : KeysWaitingGloss), true);
    if (IsPadRow(row)) {
        padHeld_ = pad_ ? pad_().value_or(0) : 0;
        padTimer_.start();
    }
    Refresh();
}

void KeysDialog::StopWaiting()
{
    if (waiting_ < 0) return;
    waiting_ = -1;
    padTimer_.stop();
    Say("");
    Refresh();
}

void KeysDialog::TakeKey(int virtualKey)
{
    const int row = waiting_;
    StopWaiting();
    if (IsPadRow(row)) {
        Say("this row takes a button of the pad, or its buttons 1 to 4 here");
        return;
    }
    Say(bindings_.Bind(Control(row), virtualKey));
    Refresh();
}

void KeysDialog::PollPad()
{
    const std::optional<std::uint32_t> now = pad_ ? pad_() : std::nullopt;
    if (!now) {
        StopWaiting();
        Say("the pad is gone");
        return;
    }
    const std::uint32_t pressed = *now & ~padHeld_ & 15u;
    padHeld_ = *now;
    if (!pressed) return;
    const int row = waiting_;
    StopWaiting();
    // The pressed button moves to this row; of several at once, the first.
    TogglePadButton(row, std::countr_zero(pressed), true);
}

void KeysDialog::TogglePadButton(int row, int button, bool on)
{
    StopWaiting();
    const std::uint32_t bit = 1u << button;
    std::uint32_t select = bindings_.PadSelect(), use = bindings_.PadUse();
    std::uint32_t& mine = row == PadSelectRow ? select : use;
    std::uint32_t& other = row == PadSelectRow ? use : select;
    if (on) {
        mine |= bit;
        other &= ~bit;
    } else {
        mine &= ~bit;
    }
    SetPad(select, use);
}

void KeysDialog::SetPad(std::uint32_t select, std::uint32_t use)
{
    Say(bindings_.SetPadButtons(select, use));
    Refresh();
}

void KeysDialog::RemoveKey(Control control, int virtualKey)
{
    StopWaiting();
    Say(bindings_.Unbind(control, virtualKey));
    Refresh();
    rows_[std::size_t(control)].wait->setFocus();
}

void KeysDialog::Refresh()
{
    for (int r = 0; r < int(KeysFormRows.size()); ++r) {
        const KeysFormRow& form = KeysFormRows[std::size_t(r)];
        Row& row = rows_[std::size_t(r)];
        const bool waiting = waiting_ == r;
        row.wait->setText(Text(waiting ? KeysWaiting : AddCaption));
        row.wait->setFixedWidth(waiting ? row.wait->fontMetrics().horizontalAdvance(row.wait->text()) + 16 : 28);
        if (IsPadRow(r)) {
            const std::uint32_t mask = r == PadSelectRow ? bindings_.PadSelect() : bindings_.PadUse();
            for (int b = 0; b < 4; ++b) row.padButtons[std::size_t(b)]->setChecked(mask >> b & 1);
            continue;
        }
        // The keys shown are made anew; the old ones go when the click that
        // removed one has finished.
        while (QLayoutItem* item = row.keys->takeAt(0)) {
            if (QWidget* old = item->widget()) {
                old->setObjectName(QString());
                old->hide();
                old->deleteLater();
            }
            delete item;
        }
        const Control control = Control(r);
        for (const int virtualKey : bindings_.KeysOf(control)) {
            const QString name = QString::fromStdString(KeyOfCode(virtualKey)->name);
            auto* key = Styled(new QPushButton(name, this));
            key->setObjectName(Text(form.name) + ":" + name);
            key->setAutoDefault(false);
            key->setFixedSize(std::max(24, key->fontMetrics().horizontalAdvance(name) + 12), 20);
            key->setToolTip(QStringLiteral("Click to take %1 away from this row").arg(name));
            connect(key, &QPushButton::clicked, this, [this, control, virtualKey] { RemoveKey(control, virtualKey); });
            row.keys->addWidget(key);
            key->show();
        }
    }
    // Tab goes along each row, its keys then its button, and then to the
    // dialog's own buttons.
    QWidget* before = nullptr;
    const auto next = [&](QWidget* widget) {
        if (before) setTabOrder(before, widget);
        before = widget;
    };
    for (const Row& row : rows_) {
        if (row.keys)
            for (int i = 0; i < row.keys->count(); ++i) next(row.keys->itemAt(i)->widget());
        for (QCheckBox* button : row.padButtons)
            if (button) next(button);
        next(row.wait);
    }
    for (QWidget* widget : footer_)
        if (widget) next(widget);
}

void KeysDialog::Say(const std::string& text, bool hint)
{
    message_->setStyleSheet(hint ? QStringLiteral("color: #606060") : QStringLiteral("color: #a00000"));
    message_->setText(QString::fromStdString(text));
}
