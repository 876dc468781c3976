#include "windowkit/accessibility.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QColor>
#include <QDoubleSpinBox>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <QSet>
#include <QSpinBox>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <vector>

#include "core/presentation.h"
#include "core/surface.h"

namespace molvane {

namespace {

QHash<const QObject*, SpokenText>& spoken() {
    static QHash<const QObject*, SpokenText> texts;
    return texts;
}

// A drawn picture: a graphic whose description is its live text.
class SpeakingPicture final : public QAccessibleWidget {
public:
    explicit SpeakingPicture(QWidget* picture) : QAccessibleWidget(picture, QAccessible::Graphic) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) {
            const auto found = spoken().constFind(object());
            if (found != spoken().constEnd() && *found) return (*found)();
        }
        return QAccessibleWidget::text(t);
    }
};

QHash<const QObject*, SpokenText>& readTexts() {
    static QHash<const QObject*, SpokenText> texts;
    return texts;
}

// A text read when asked for, its words those of the moment.
class TextOnDemand final : public QAccessibleWidget {
public:
    explicit TextOnDemand(QWidget* control) : QAccessibleWidget(control, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const auto found = readTexts().constFind(object());
            if (found != readTexts().constEnd() && *found) return (*found)();
        }
        return QAccessibleWidget::text(t);
    }
};

QSet<const QObject*>& groups() {
    static QSet<const QObject*> boxes;
    return boxes;
}

// A group box as a plain group named by its title.
class GroupReading final : public QAccessibleWidget {
public:
    explicit GroupReading(QWidget* box) : QAccessibleWidget(box, QAccessible::Client) {}
    QString text(QAccessible::Text t) const override {
        QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && own.isEmpty())
            if (auto* box = qobject_cast<QGroupBox*>(widget())) own = box->title().remove(u'&');
        return own;
    }
};

AnnouncementWatcher& watcher() {
    static AnnouncementWatcher watching;
    return watching;
}

QAccessibleInterface* speakingFactory(const QString&, QObject* object) {
    if (object && object->isWidgetType() && spoken().contains(object))
        return new SpeakingPicture(static_cast<QWidget*>(object));
    if (object && object->isWidgetType() && readTexts().contains(object))
        return new TextOnDemand(static_cast<QWidget*>(object));
    if (object && object->isWidgetType() && groups().contains(object))
        return new GroupReading(static_cast<QWidget*>(object));
    return nullptr;
}

void installSpeakingFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(speakingFactory);
        return true;
    }();
    (void)installed;
}

// --- Pieces of text -------------------------------------------------------

bool isBreak(QChar c) {
    return c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// Letters and digits; an apostrophe between letters (l'eau) and a decimal
// comma or point between digits (0,25) belong to their word too.
bool inWord(const QString& text, int i) {
    const QChar c = text[i];
    if (c.isLetterOrNumber() || c.isMark() || c == u'_' || c.isSurrogate()) return true;
    if (i == 0 || i + 1 >= text.size()) return false;
    const QChar before = text[i - 1], after = text[i + 1];
    if ((c == u'\'' || c == QChar(0x2019)) && before.isLetter() && after.isLetter()) return true;
    return (c == u',' || c == u'.') && before.isDigit() && after.isDigit();
}

bool endsSentence(QChar c) {
    return c == u'.' || c == u'!' || c == u'?' || c == QChar(0x2026);
}

// Where the pieces of text start, from 0 to the text's length included.
std::vector<int> pieceStarts(const QString& text, QAccessible::TextBoundaryType boundary) {
    const int n = static_cast<int>(text.size());
    std::vector<int> starts{0};
    const auto add = [&starts](int at) {
        if (at > starts.back()) starts.push_back(at);
    };
    switch (boundary) {
        case QAccessible::WordBoundary:
            for (int i = 1; i < n; ++i)
                if (inWord(text, i) && !inWord(text, i - 1)) add(i);
            break;
        case QAccessible::SentenceBoundary:
            for (int i = 0; i < n; ++i) {
                if (isBreak(text[i])) {
                    add(i + 1);
                } else if (endsSentence(text[i]) && i + 1 < n && text[i + 1].isSpace()) {
                    int j = i + 1;
                    while (j < n && text[j].isSpace() && !isBreak(text[j])) ++j;
                    if (j < n && isBreak(text[j])) ++j;
                    add(j);
                    i = j - 1;
                }
            }
            break;
        case QAccessible::LineBoundary:
        case QAccessible::ParagraphBoundary:
            for (int i = 0; i < n; ++i)
                if (isBreak(text[i])) add(i + 1);
            break;
        default:
            break;
    }
    add(n);
    if (starts.size() == 1) starts.push_back(n);  // an empty text: one empty piece
    return starts;
}

int characterLength(const QString& text, int at) {
    return at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate() ? 2 : 1;
}

// --- Single-line boxes ------------------------------------------------------

// A QLineEdit read as Qt reads it (an editable text, with its selection and
// caret), its pieces of text found by textSpan.
class LineEditReading final : public QAccessibleWidget,
                              public QAccessibleTextInterface,
                              public QAccessibleEditableTextInterface {
public:
    explicit LineEditReading(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }

    QString text(QAccessible::Text t) const override {
        QString str;
        if (t == QAccessible::Value && box()->echoMode() != QLineEdit::NoEcho) str = box()->displayText();
        if (str.isEmpty()) str = QAccessibleWidget::text(t);
        if (str.isEmpty() && t == QAccessible::Description) str = box()->placeholderText();
        return str;
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
            return;
        }
        if (!box()->isReadOnly()) box()->setText(text);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (box()->isReadOnly()) {
            s.readOnly = true;
        } else {
            s.editable = true;
        }
        s.selectableText = true;
        if (box()->echoMode() != QLineEdit::Normal) s.passwordEdit = true;
        if (box()->hasSelectedText()) s.selected = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // What a reader reads: the text as shown (stars for a password).
    QString shown() const {
        return box()->echoMode() == QLineEdit::Normal ? box()->text() : box()->displayText();
    }
    int length() const { return static_cast<int>(shown().size()); }

    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !box()->hasSelectedText()) return;
        *start = box()->selectionStart();
        *end = box()->selectionEnd();
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) box()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index != 0) return;
        start = std::clamp(start, 0, length());
        end = std::clamp(end, 0, length());
        box()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    QString text(int start, int end) const override {
        const QString all = shown();
        start = std::clamp(start, 0, length());
        end = end < 0 ? length() : std::clamp(end, start, length());
        return all.mid(start, end - start);
    }
    int characterCount() const override { return length(); }

    // Measured from the caret, which knows where the text lies in the box.
    QRect characterRect(int offset) const override {
        const QString all = shown();
        if (offset < 0 || offset >= all.size()) return {};
        const QFontMetricsF metrics(box()->font());
        const QRect caret = box()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const double shift = metrics.horizontalAdvance(all.left(offset)) -
                             metrics.horizontalAdvance(all.left(box()->cursorPosition()));
        const double width = metrics.horizontalAdvance(all.mid(offset, characterLength(all, offset)));
        const QRect local(qRound(caret.x() + shift), caret.y(), qMax(1, qRound(width)), caret.height());
        return QRect(box()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = box()->mapFromGlobal(point);
        if (!box()->rect().contains(local)) return -1;
        return box()->cursorPositionAt(local);
    }
    void scrollToSubstring(int start, int end) override {
        box()->setCursorPosition(end);
        box()->setCursorPosition(start);
    }
    // The whole text is in the box's one font.
    QString attributes(int offset, int* start, int* end) const override {
        if (offset == -2) offset = cursorPosition();
        if (offset < 0 || offset > length()) {
            *start = *end = -1;
            return {};
        }
        *start = 0;
        *end = length();
        const QFontInfo font(box()->font());
        return QStringLiteral("font-family:\"%1\";font-size:%2pt;font-weight:%3;")
            .arg(font.family())
            .arg(font.pointSize())
            .arg(font.bold() ? QStringLiteral("bold") : QStringLiteral("normal"));
    }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                             int* end) const override {
        return piece(offset, type, TextSide::Before, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                         int* end) const override {
        return piece(offset, type, TextSide::At, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                            int* end) const override {
        return piece(offset, type, TextSide::After, start, end);
    }

    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (box()->isReadOnly() || box()->echoMode() != QLineEdit::Normal) return;
        start = std::clamp(start, 0, length());
        end = std::clamp(end, start, length());
        box()->setText(box()->text().replace(start, end - start, text));
    }

private:
    QString piece(int offset, QAccessible::TextBoundaryType type, TextSide side, int* start, int* end) const {
        // -2 is the caret, -1 the end of the text.
        if (offset == -2) offset = cursorPosition();
        if (offset == -1) offset = length();
        const TextSpan span = textSpan(shown(), offset, type, side);
        *start = span.start;
        *end = span.end;
        return span.start < 0 ? QString() : shown().mid(span.start, span.end - span.start);
    }
};

// --- Spin boxes --------------------------------------------------------------

// A spin box: its value, and the text of its box read through the box's
// reading above (Qt's own spin box reads its box through Qt's line reading,
// which a factory cannot replace).
class SpinBoxReading final : public QAccessibleWidget,
                             public QAccessibleValueInterface,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
public:
    SpinBoxReading(QAbstractSpinBox* spin, QLineEdit* box)
        : QAccessibleWidget(spin, QAccessible::SpinBox), box_(box ? new LineEditReading(box) : nullptr) {}

    QAbstractSpinBox* spin() const { return static_cast<QAbstractSpinBox*>(widget()); }
    QSpinBox* whole() const { return qobject_cast<QSpinBox*>(widget()); }
    QDoubleSpinBox* decimal() const { return qobject_cast<QDoubleSpinBox*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface && (whole() || decimal()))
            return static_cast<QAccessibleValueInterface*>(this);
        if (type == QAccessible::TextInterface && box_) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface && box_)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return spin()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (spin()->isReadOnly())
            s.readOnly = true;
        else
            s.editable = true;
        return s;
    }
    QStringList actionNames() const override {
        return {increaseAction(), decreaseAction(), setFocusAction()};
    }
    void doAction(const QString& action) override {
        if (action == increaseAction())
            spin()->stepUp();
        else if (action == decreaseAction())
            spin()->stepDown();
        else
            QAccessibleWidget::doAction(action);
    }

    QVariant currentValue() const override {
        if (whole()) return whole()->value();
        if (decimal()) return decimal()->value();
        return {};
    }
    void setCurrentValue(const QVariant& value) override {
        if (whole()) whole()->setValue(value.toInt());
        if (decimal()) decimal()->setValue(value.toDouble());
    }
    QVariant maximumValue() const override {
        if (whole()) return whole()->maximum();
        if (decimal()) return decimal()->maximum();
        return {};
    }
    QVariant minimumValue() const override {
        if (whole()) return whole()->minimum();
        if (decimal()) return decimal()->minimum();
        return {};
    }
    QVariant minimumStepSize() const override {
        if (whole()) return whole()->singleStep();
        if (decimal()) return decimal()->singleStep();
        return {};
    }

    void selection(int index, int* start, int* end) const override { box_->selection(index, start, end); }
    int selectionCount() const override { return box_->selectionCount(); }
    void addSelection(int start, int end) override { box_->addSelection(start, end); }
    void removeSelection(int index) override { box_->removeSelection(index); }
    void setSelection(int index, int start, int end) override { box_->setSelection(index, start, end); }
    int cursorPosition() const override { return box_->cursorPosition(); }
    void setCursorPosition(int position) override { box_->setCursorPosition(position); }
    QString text(int start, int end) const override { return box_->text(start, end); }
    int characterCount() const override { return box_->characterCount(); }
    QRect characterRect(int offset) const override { return box_->characterRect(offset); }
    int offsetAtPoint(const QPoint& point) const override { return box_->offsetAtPoint(point); }
    void scrollToSubstring(int start, int end) override { box_->scrollToSubstring(start, end); }
    QString attributes(int offset, int* start, int* end) const override {
        return box_->attributes(offset, start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                             int* end) const override {
        return box_->textBeforeOffset(offset, type, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                         int* end) const override {
        return box_->textAtOffset(offset, type, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                            int* end) const override {
        return box_->textAfterOffset(offset, type, start, end);
    }
    void deleteText(int start, int end) override { box_->deleteText(start, end); }
    void insertText(int offset, const QString& text) override { box_->insertText(offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        box_->replaceText(start, end, text);
    }

private:
    std::unique_ptr<LineEditReading> box_;
};

// --- Bars read as the value they show -------------------------------------

QHash<const QObject*, ShownValue>& shownValues() {
    static QHash<const QObject*, ShownValue> values;
    return values;
}

class ShownValueReading final : public QAccessibleWidget,
                                public QAccessibleValueInterface,
                                public QAccessibleTextInterface {
public:
    ShownValueReading(QWidget* control, QAccessible::Role role) : QAccessibleWidget(control, role) {}

    const ShownValue* shown() const {
        const auto found = shownValues().constFind(object());
        return found == shownValues().constEnd() ? nullptr : &*found;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        if (type == QAccessible::TextInterface && role() == QAccessible::SpinBox)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return shownText();
        const QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Description && shown() && !shown()->about.isEmpty())
            return own.isEmpty() ? shown()->about : shown()->about + QStringLiteral(" ; ") + own;
        return own;
    }
    QStringList actionNames() const override {
        return {increaseAction(), decreaseAction(), setFocusAction()};
    }
    // One step of the bar, as an arrow key gives.
    void doAction(const QString& action) override {
        const ShownValue* value = shown();
        auto* bar = static_cast<QAbstractSlider*>(widget());
        const bool up = action == increaseAction();
        if (!value || (!up && action != decreaseAction())) {
            QAccessibleWidget::doAction(action);
            return;
        }
        bar->triggerAction(up != value->growsDownwards ? QAbstractSlider::SliderSingleStepAdd
                                                       : QAbstractSlider::SliderSingleStepSub);
    }

    QString shownText() const {
        const ShownValue* value = shown();
        if (!value) return {};
        if (value->text) return value->text();
        return value->value ? QString::number(value->value()) : QString();
    }

    // The value.
    QVariant currentValue() const override {
        const ShownValue* value = shown();
        return value && value->value ? QVariant(value->value()) : QVariant();
    }
    void setCurrentValue(const QVariant& number) override {
        const ShownValue* value = shown();
        if (value && value->setValue && number.canConvert<double>()) value->setValue(number.toDouble());
    }
    QVariant maximumValue() const override { return shown() ? QVariant(shown()->maximum) : QVariant(); }
    QVariant minimumValue() const override { return shown() ? QVariant(shown()->minimum) : QVariant(); }
    QVariant minimumStepSize() const override { return shown() ? QVariant(shown()->step) : QVariant(); }

    // The spin button's text: the value as shown, read-only.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        const QString all = shownText();
        start = std::clamp(start, 0, static_cast<int>(all.size()));
        end = end < 0 ? static_cast<int>(all.size()) : std::clamp(end, start, static_cast<int>(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(shownText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        if (offset < 0 || offset > *end) *start = *end = -1;
        return {};
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                             int* end) const override {
        return piece(offset, type, TextSide::Before, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                         int* end) const override {
        return piece(offset, type, TextSide::At, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                            int* end) const override {
        return piece(offset, type, TextSide::After, start, end);
    }

private:
    QString piece(int offset, QAccessible::TextBoundaryType type, TextSide side, int* start, int* end) const {
        const QString all = shownText();
        if (offset < 0) offset = static_cast<int>(all.size());
        const TextSpan span = textSpan(all, offset, type, side);
        *start = span.start;
        *end = span.end;
        return span.start < 0 ? QString() : all.mid(span.start, span.end - span.start);
    }
};

QAccessibleInterface* readerFactory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    if (const auto found = shownValues().constFind(object); found != shownValues().constEnd())
        return new ShownValueReading(static_cast<QWidget*>(object), found->role);
    // A spin box's own box is read through the spin box, as Qt does.
    if (className == QLatin1String("QLineEdit") &&
        object->objectName() != QLatin1String("qt_spinbox_lineedit"))
        if (auto* box = qobject_cast<QLineEdit*>(object)) return new LineEditReading(box);
    if (className == QLatin1String("QAbstractSpinBox") || className == QLatin1String("QSpinBox") ||
        className == QLatin1String("QDoubleSpinBox"))
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(object))
            return new SpinBoxReading(spin,
                                      spin->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly));
    return nullptr;
}

// Drops the interface a reader may already hold for object, so that the next
// one asked is made by the factories as they stand now.
void forgetInterface(QObject* object) {
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(object))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

}  // namespace

namespace {

ReaderWatcher& readerWatcher() {
    static ReaderWatcher watching;
    return watching;
}

}  // namespace

void tellReader(QAccessibleEvent& event) {
    if (readerWatcher()) readerWatcher()(&event);
    QAccessible::updateAccessibility(&event);
}

void setReaderWatcher(ReaderWatcher watcher) {
    readerWatcher() = std::move(watcher);
}

void installReaderInterfaces() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(readerFactory);
}

TextSpan textSpan(const QString& text, int offset, QAccessible::TextBoundaryType boundary, TextSide side) {
    const int n = static_cast<int>(text.size());
    if (offset < 0 || offset > n) return {-1, -1};
    if (boundary == QAccessible::NoBoundary) {
        if (side == TextSide::At) return {0, n};
        return side == TextSide::Before ? TextSpan{0, 0} : TextSpan{n, n};
    }
    if (boundary == QAccessible::CharBoundary) {
        const auto at = [&text, n](int i) {
            return i >= n ? TextSpan{n, n} : TextSpan{i, i + characterLength(text, i)};
        };
        switch (side) {
            case TextSide::At:
                return at(offset);
            case TextSide::After:
                return offset >= n ? TextSpan{n, n} : at(at(offset).end);
            case TextSide::Before:
                if (offset == 0) return {0, 0};
                if (offset >= 2 && text[offset - 1].isLowSurrogate() && text[offset - 2].isHighSurrogate())
                    return {offset - 2, offset};
                return {offset - 1, offset};
        }
    }
    const std::vector<int> starts = pieceStarts(text, boundary);
    // The piece holding offset; at the end of the text, the last piece.
    const int pieces = static_cast<int>(starts.size()) - 1;
    int k = static_cast<int>(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin()) - 1;
    k = std::clamp(k, 0, pieces - 1);
    if (side == TextSide::Before) --k;
    if (side == TextSide::After) ++k;
    if (k < 0) return {0, 0};
    if (k >= pieces) return {n, n};
    return {starts[k], starts[k + 1]};
}

void readAsShown(QAbstractSlider* control, ShownValue shown) {
    installReaderInterfaces();
    shownValues().insert(control, std::move(shown));
    forgetInterface(control);
    QObject::connect(control, &QObject::destroyed, [control] { shownValues().remove(control); });
    // The bar tells its raw position; the reader is told again, the value
    // being now the one shown (the bar's own event came before the change's
    // handlers rewrote its label).
    QObject::connect(control, &QAbstractSlider::valueChanged, control, [control] {
        const auto found = shownValues().constFind(control);
        if (found == shownValues().constEnd() || !found->value) return;
        QAccessibleValueChangeEvent event(control, found->value());
        tellReader(event);
    });
}

bool readsAsShown(const QObject* control) {
    return shownValues().contains(control);
}

void setAccessibleText(QWidget* control, const QString& name, const QString& description) {
    control->setAccessibleName(name);
    if (!description.isEmpty()) control->setAccessibleDescription(description);
}

int nameControls(QWidget* window, std::initializer_list<AccessibleEntry> entries) {
    int found = 0;
    for (const AccessibleEntry& entry : entries) {
        const QString name = QString::fromLatin1(entry.objectName);
        QWidget* control = window->objectName() == name ? window : window->findChild<QWidget*>(name);
        if (!control) continue;
        ++found;
        setAccessibleText(control, QString::fromUtf8(entry.name),
                          entry.description ? QString::fromUtf8(entry.description) : QString());
    }
    return found;
}

void speakOnDemand(QWidget* picture, SpokenText text) {
    installSpeakingFactory();
    spoken().insert(picture, std::move(text));
    // Setting a name or description makes the plain widget's interface,
    // which would stay cached: it goes, and the next reader gets the picture's.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(picture);
        made && !dynamic_cast<SpeakingPicture*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    QObject::connect(picture, &QObject::destroyed, [picture] { spoken().remove(picture); });
}

void readOnDemand(QWidget* control, SpokenText text) {
    installSpeakingFactory();
    readTexts().insert(control, std::move(text));
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(control);
        made && !dynamic_cast<TextOnDemand*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    QObject::connect(control, &QObject::destroyed, [control] { readTexts().remove(control); });
}

void readAsGroup(QWidget* box) {
    installSpeakingFactory();
    groups().insert(box);
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(box);
        made && !dynamic_cast<GroupReading*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    QObject::connect(box, &QObject::destroyed, [box] { groups().remove(box); });
}

bool speaksOnDemand(const QObject* picture) {
    return spoken().contains(picture);
}

void setAnnouncementWatcher(AnnouncementWatcher watching) {
    watcher() = std::move(watching);
}

void announceChange(QWidget* picture) {
    if (watcher()) watcher()(picture);
    QAccessibleEvent event(picture, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

QString colourName(const QColor& colour) {
    return QString::fromStdString(colourName(rgb(colour.red(), colour.green(), colour.blue())));
}

}  // namespace molvane
