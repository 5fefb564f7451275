#pragma once

#include <QDialog>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "screens/key_bindings.h"
#include "screens/keys_form.h"

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QStyle;

// What the keys dialog answers when closed with OK.
struct KeysChoice {
    KeyBindings bindings;
    bool keep = false;  // "keep these keys": the window writes them to the keys file
};

// The keys dialog "キー設定": a row for each control, its keys each taken
// away by a click and a button after which the next key pressed is added;
// the pad's two rows take the next button pressed on the pad, or their
// buttons 1 to 4 by hand. It works on a copy of the keys. Escape cancels,
// even while a row waits.
//
// Its widgets are named for the tests and the pictures: a row's button by the
// row's name ("left"), a key by the row's and the key's ("left:A"), the pad's
// buttons "pad-use:1", and "message", "defaults", "keep", "ok", "cancel".
class KeysDialog : public QDialog {
    Q_OBJECT
public:
    // The pad's buttons held now (bits 1, 2, 4, 8), or nothing without a pad.
    using PadReader = std::function<std::optional<std::uint32_t>()>;

    explicit KeysDialog(const KeyBindings& bindings, PadReader pad = {}, QWidget* parent = nullptr);
    ~KeysDialog() override;

    // Shows the dialog modally: the keys when closed with OK, nothing when cancelled.
    std::optional<KeysChoice> Run();

    const KeyBindings& Bindings() const { return bindings_; }
    // The row waiting for a key or a button, as its place in KeysFormRows; -1 for none.
    int Waiting() const { return waiting_; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        QHBoxLayout* keys = nullptr;  // a key row's keys
        QPushButton* wait = nullptr;
        std::array<QCheckBox*, 4> padButtons{};  // a pad row's buttons 1 to 4
    };

    void Wait(int row);
    void StopWaiting();
    void TakeKey(int virtualKey);
    void PollPad();
    void TogglePadButton(int row, int button, bool on);
    void SetPad(std::uint32_t select, std::uint32_t use);
    void RemoveKey(Control control, int virtualKey);
    void Refresh();
    // A refusal, or with `hint` what a waiting row wants; "" clears the line.
    void Say(const std::string& text, bool hint = false);
    template <typename Widget>
    Widget* Styled(Widget* widget);

    KeyBindings bindings_;
    PadReader pad_;
    QTimer padTimer_;
    std::uint32_t padHeld_ = 0;  // the pad's buttons at the last look, so that only a new press counts
    int waiting_ = -1;
    std::array<Row, KeysFormRows.size()> rows_;
    QLabel* message_ = nullptr;
    QCheckBox* keep_ = nullptr;
    std::array<QWidget*, 4> footer_{};  // defaults, keep, OK, cancel
    QStyle* classic_ = nullptr;
};
