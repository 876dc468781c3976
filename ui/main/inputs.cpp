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
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <array>
#include <cmath>

#include "common/numbers.h"
#include "core/controltable.h"
#include "core/table.h"
#include "front/mainstate.h"
#include "ui/main/controlplace.h"
#include "ui/main/drawing.h"
#include "windowkit/accessibility.h"
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

void readBarsAsShown(QWidget* window) {
    const auto bar = [window](const QString& name) { return window->findChild<QScrollBar*>(name); };
    const auto nearest = [](double value, double lowest, double highest) {
        return static_cast<int>(std::lround(std::clamp(value, lowest, highest)));
    };
    for (int i = 0; i < 2; ++i) {
        QScrollBar* percent = bar(QStringLiteral("VScroll4_%1").arg(i));
        if (!percent) continue;
        ShownValue shown;
        shown.value = [percent] { return percentAt(percent->value()); };
        shown.text = [percent] { return QString::fromStdString(percentLabel(percentAt(percent->value()))); };
        shown.minimum = percentAt(kPercentBar.highest);
        shown.maximum = percentAt(kPercentBar.lowest);
        shown.growsDownwards = true;
        shown.setValue = [percent, nearest](double value) {
            percent->setValue(percentBarPosition(nearest(value, 0, 100)));
        };
        readAsShown(percent, std::move(shown));
    }
    if (QScrollBar* duration = bar(QStringLiteral("VScroll2"))) {
        ShownValue shown;
        shown.value = [duration] { return durationSeconds(duration->value()).value_or(0); };
        shown.text = [duration] {
            const auto seconds = durationSeconds(duration->value());
            return seconds ? QString::fromStdString(durationLabel(*seconds)) : QString();
        };
        shown.minimum = durationSeconds(kDurationBar.highest).value_or(0);
        shown.maximum = durationSeconds(kDurationBar.lowest).value_or(0);
        shown.growsDownwards = true;
        // The duration nearest to the one asked for.
        shown.setValue = [duration](double seconds) {
            int best = duration->value();
            for (int p = kDurationBar.lowest; p <= kDurationBar.highest; ++p)
                if (std::abs(durationSeconds(p).value_or(0) - seconds) <
                    std::abs(durationSeconds(best).value_or(0) - seconds))
                    best = p;
            duration->setValue(best);
        };
        readAsShown(duration, std::move(shown));
    }
    if (QScrollBar* rows = bar(QStringLiteral("VScroll3"))) {
        ShownValue shown;
        shown.value = [rows] { return tableRowsAt(rows->value()); };
        shown.text = [rows] { return QString::fromStdString(rowsSpoken(tableRowsAt(rows->value()))); };
        shown.minimum = kFewestTableRows;
        shown.maximum = kMostTableRows;
        shown.growsDownwards = true;
        shown.setValue = [rows, nearest](double value) {
            rows->setValue(rowsBarPosition(nearest(value, kFewestTableRows, kMostTableRows)));
        };
        readAsShown(rows, std::move(shown));
    }
    if (QScrollBar* temperature = bar(QStringLiteral("HScroll1"))) {
        ShownValue shown;
        shown.role = QAccessible::Slider;
        shown.value = [temperature] { return temperature->value(); };
        shown.minimum = kTemperatureBar.lowest;
        shown.maximum = kTemperatureBar.highest;
        shown.step = temperature->singleStep();
        shown.about = QStringLiteral("Position de %1, froid, à %2, chaud")
                          .arg(kTemperatureBar.lowest)
                          .arg(kTemperatureBar.highest);
        shown.setValue = [temperature, nearest](double value) {
            temperature->setValue(nearest(value, kTemperatureBar.lowest, kTemperatureBar.highest));
        };
        readAsShown(temperature, std::move(shown));
    }
}

namespace {

class ReadingStop final : public QWidget {
public:
    ReadingStop(QWidget* window, const QString& name, const QRect& place, SpokenText text) : QWidget(window) {
        setObjectName(name);
        setGeometry(place);
        setFocusPolicy(Qt::StrongFocus);
        // The mouse reaches what lies under it (the help line's texts).
        setAttribute(Qt::WA_TransparentForMouseEvents);
        readOnDemand(this, std::move(text));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!hasFocus()) return;
        QPainter painter(this);
        drawKeyboardFrame(painter, rect());
    }
    void focusInEvent(QFocusEvent* event) override {
        QWidget::focusInEvent(event);
        update();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QWidget::focusOutEvent(event);
        update();
    }
};

}  // namespace

void addReadingStops(QWidget* window) {
    std::array<QLineEdit*, 4> boxes{};
    std::array<QLabel*, 4> counts{};
    std::array<Swatch*, 4> swatches{};
    for (int s = 0; s < 4; ++s) {
        boxes[s] = window->findChild<QLineEdit*>(QStringLiteral("Text1_%1").arg(s));
        counts[s] = window->findChild<QLabel*>(QStringLiteral("Labelinf_%1").arg(s));
        swatches[s] = window->findChild<Swatch*>(QStringLiteral("Label4_%1").arg(s + 1));
        if (!boxes[s] || !counts[s] || !swatches[s]) return;
    }
    // Over the equation's line, and over the counts under it.
    const auto place = [](std::string_view name) {
        const ControlRect r = findControl(name)->rect;
        return QRect(r.x, r.y, r.width, r.height);
    };
    auto* equation = new ReadingStop(window, QStringLiteral("Equation"), place("Equation"), [swatches] {
        std::array<Colour, 4> colours{};
        for (int s = 0; s < 4; ++s) colours[s] = fromQColor(swatches[s]->shown());
        return QString::fromStdString(equationSpoken(colours));
    });
    auto* during = new ReadingStop(window, QStringLiteral("Pendant"), place("Pendant"), [counts] {
        std::array<std::string, 4> shown;
        for (int s = 0; s < 4; ++s) shown[s] = counts[s]->text().toStdString();
        return QString::fromStdString(duringSpoken(shown));
    });
    // Both grow with the display size as the other controls do.
    fromTable(equation, "Equation");
    fromTable(during, "Pendant");
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
