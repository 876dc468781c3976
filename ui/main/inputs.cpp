#include "ui/main/inputs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionFocusRect>
#include <array>

#include "windowkit/designscale.h"
#include "windowkit/enterrule.h"
#include "windowkit/modalguard.h"
#include "windowkit/surfaces.h"

namespace molvane {

namespace {

class DigitFilter final : public QObject {
public:
    DigitFilter(QLineEdit* box, std::function<void(bool)> check) : QObject(box), check_(std::move(check)) {
        box->installEventFilter(this);
        // Pasting or dropping would bring in what typing cannot.
        box->setContextMenuPolicy(Qt::NoContextMenu);
        box->setAcceptDrops(false);
        connect(box, &QLineEdit::textEdited, this, [this] { edited_ = true; });
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                run(true);
                return true;
            }
            // Keys that type nothing (arrows, Home, Delete, Tab) keep their use,
            // and so do selecting, copying, cutting and undoing; pasting would
            // bring in what typing cannot.
            for (const auto editing : {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut,
                                       QKeySequence::Undo, QKeySequence::Redo})
                if (key->matches(editing)) return false;
            if (key->matches(QKeySequence::Paste)) return true;
            const QString text = key->text();
            if (text.isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab ||
                key->key() == Qt::Key_Backtab)
                return false;
            const bool digit = text.size() == 1 && text[0] >= u'0' && text[0] <= u'9';
            return !(digit || key->key() == Qt::Key_Backspace);
        }
        if (event->type() == QEvent::FocusOut) {
            // A message box or a menu taking the keyboard is not leaving the box.
            // Passing through a box without typing in it changes nothing, and
            // must not restart the run.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (edited_ && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                run(false);
        }
        return false;
    }

private:
    void run(bool entered) {
        if (running_) return;
        running_ = true;
        edited_ = false;
        check_(entered);
        running_ = false;
    }

    std::function<void(bool)> check_;
    bool running_ = false;
    bool edited_ = false;
};

ColourResponder& colourResponder() {
    static ColourResponder responder;
    return responder;
}

}  // namespace

void filterDigits(QLineEdit* box, std::function<void(bool entered)> check) {
    new DigitFilter(box, std::move(check));
}

namespace {

class EnterClicks final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!isPlainEnter(key)) return false;
        auto* button = static_cast<QPushButton*>(watched);
        if (!key->isAutoRepeat() && button->isEnabled()) button->click();
        return true;
    }
};

}  // namespace

void clickOnEnter(QWidget* window) {
    auto* filter = new EnterClicks(window);
    for (QPushButton* button : window->findChildren<QPushButton*>()) button->installEventFilter(filter);
}

void tabToChosenOption(const QList<QAbstractButton*>& group) {
    // Only the chosen option is in the Tab order; a click still reaches any.
    const auto follow = [group] {
        for (QAbstractButton* option : group)
            option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    for (QAbstractButton* option : group) QObject::connect(option, &QAbstractButton::toggled, option, follow);
    follow();
}

PaintedPanel::PaintedPanel(QWidget* parent) : QWidget(parent) {}

void PaintedPanel::paintEvent(QPaintEvent*) {
    if (!painter_) return;
    QPainter painter(this);
    const double scale = designScale(this);
    painter.scale(scale, scale);
    painter_(painter, scaledSize(size(), 1.0 / scale));
}

Swatch::Swatch(QWidget* parent) : QLabel(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void Swatch::setValue(Colour value) {
    value_ = value;
    update();
}

QColor Swatch::shown() const {
    return swatchColour(value_);
}

void Swatch::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void Swatch::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void Swatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), shown());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

QColor swatchColour(Colour value) {
    if (value <= 0xFFFFFF) return toQColor(value);
    static constexpr std::array<QPalette::ColorRole, kSystemColours> kRoles{QPalette::Button,
                                                                            QPalette::Dark,
                                                                            QPalette::Highlight,
                                                                            QPalette::Mid,
                                                                            QPalette::Window,
                                                                            QPalette::Base,
                                                                            QPalette::Shadow,
                                                                            QPalette::WindowText,
                                                                            QPalette::Text,
                                                                            QPalette::HighlightedText,
                                                                            QPalette::Window,
                                                                            QPalette::Window,
                                                                            QPalette::Mid,
                                                                            QPalette::Highlight,
                                                                            QPalette::HighlightedText,
                                                                            QPalette::Button,
                                                                            QPalette::Dark,
                                                                            QPalette::Mid,
                                                                            QPalette::ButtonText,
                                                                            QPalette::WindowText,
                                                                            QPalette::Light,
                                                                            QPalette::Shadow,
                                                                            QPalette::Midlight,
                                                                            QPalette::ToolTipText,
                                                                            QPalette::ToolTipBase};
    const Colour index = value - kSystemColour;
    return index < kRoles.size() ? QApplication::palette().color(kRoles[index]) : QColor(Qt::black);
}

QColor chooseColour(QWidget* parent, const QColor& initial) {
    // Opened from a click or a key on the swatch, which stops first.
    ModalScope scope;
    if (colourResponder()) return colourResponder()(initial);
    // Qt's own dialog, which speaks the program's French whatever the desktop.
    return QColorDialog::getColor(initial, parent, QString(), QColorDialog::DontUseNativeDialog);
}

void setColourResponder(ColourResponder responder) {
    colourResponder() = std::move(responder);
}

}  // namespace molvane
