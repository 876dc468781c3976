#include "exercises/textreading.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontInfo>
#include <QPointer>
#include <QScrollBar>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>
#include <QTextLayout>
#include <algorithm>
#include <memory>
#include <vector>

#include "exercises/rtf/richtextdocument.h"
#include "windowkit/accessibility.h"

namespace molvane {

namespace {

constexpr QChar kObject = QChar::ObjectReplacementCharacter;

// The document's text as read: text[starts[p] .. starts[p + 1]) is what
// position p reads as, one character but for a picture. `plain` has one
// character a position, a picture being a letter, for finding words and
// sentences in document positions.
struct ReadText {
    QString text;
    QString plain;
    std::vector<int> starts;  // one more than the document's positions
    int length() const { return static_cast<int>(plain.size()); }
    // The position an offset of the text falls in; the end is the end.
    int position(int offset) const {
        const auto it = std::upper_bound(starts.begin(), starts.end(), offset);
        return std::clamp(static_cast<int>(it - starts.begin()) - 1, 0, length());
    }
    // The first position starting at or after offset.
    int positionAtOrAfter(int offset) const {
        const int p = position(offset);
        return starts[static_cast<std::size_t>(p)] == offset ? p : std::min(p + 1, length());
    }
    int offset(int position) const {
        return starts[static_cast<std::size_t>(std::clamp(position, 0, length()))];
    }
};

QString pictureText(const QTextCharFormat& format) {
    const QString description = format.stringProperty(rtf::kPictureDescription).simplified();
    return description.isEmpty() ? undescribedPicture() : description;
}

ReadText readTextOf(const QTextDocument& document) {
    ReadText r;
    const int length = std::max(0, document.characterCount() - 1);  // the last paragraph mark is no text
    r.starts.reserve(static_cast<std::size_t>(length) + 1);
    r.plain.reserve(length);
    r.text.reserve(length);
    const auto add = [&r, length](QChar plain, const QString& read) {
        if (r.length() >= length) return;
        r.starts.push_back(static_cast<int>(r.text.size()));
        r.plain += plain;
        r.text += read;
    };
    // What lies between blocks (the marks of tables and frames) and the
    // blocks' own marks read as line ends.
    const auto upTo = [&](int position) {
        while (r.length() < std::min(position, length)) add(u'\n', QStringLiteral("\n"));
    };
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        upTo(block.position());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            upTo(fragment.position());
            const QTextCharFormat format = fragment.charFormat();
            const QString text = fragment.text();
            for (const QChar c : text) {
                if (c == kObject && format.isImageFormat())
                    add(u'x', pictureText(format));
                else if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
                    add(u'\n', QStringLiteral("\n"));
                else
                    add(c, QString(c));
            }
        }
        upTo(block.position() + block.length());
    }
    upTo(length);
    r.starts.push_back(static_cast<int>(r.text.size()));
    return r;
}

QSet<const QObject*>& describedBoxes() {
    static QSet<const QObject*> boxes;
    return boxes;
}

class TextAreaReading final : public QAccessibleWidget,
                              public QAccessibleTextInterface,
                              public QAccessibleEditableTextInterface {
public:
    explicit TextAreaReading(QTextEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}
    ~TextAreaReading() override { QObject::disconnect(watching_); }

    QTextEdit* box() const { return static_cast<QTextEdit*>(widget()); }

    // The text as read, made again once the document changed: its text, or
    // a format (a picture's description is one), or the box shows another.
    const ReadText& read() const {
        QTextDocument* document = box()->document();
        if (document != cachedDocument_) {
            QObject::disconnect(watching_);
            std::shared_ptr<bool> stale = stale_;
            watching_ =
                QObject::connect(document, &QTextDocument::contentsChange, [stale] { *stale = true; });
            cachedDocument_ = document;
            cache_.reset();
        }
        if (!cache_ || *stale_) {
            cache_ = std::make_unique<ReadText>(readTextOf(*document));
            *stale_ = false;
        }
        return *cache_;
    }
    void forget() { cache_.reset(); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return read().text;
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (box()->isReadOnly())
            s.readOnly = true;
        else
            s.editable = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The selection and the caret.
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        const QTextCursor cursor = box()->textCursor();
        if (index != 0 || !cursor.hasSelection()) return;
        *start = read().offset(cursor.selectionStart());
        *end = read().offset(cursor.selectionEnd());
    }
    int selectionCount() const override { return box()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index != 0) return;
        QTextCursor cursor = box()->textCursor();
        cursor.clearSelection();
        box()->setTextCursor(cursor);
    }
    void setSelection(int index, int start, int end) override {
        if (index != 0) return;
        const ReadText& r = read();
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(r.position(start));
        cursor.setPosition(r.positionAtOrAfter(end), QTextCursor::KeepAnchor);
        box()->setTextCursor(cursor);
    }
    int cursorPosition() const override { return read().offset(box()->textCursor().position()); }
    void setCursorPosition(int position) override {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(read().position(position));
        box()->setTextCursor(cursor);
    }

    QString text(int start, int end) const override {
        const ReadText& r = read();
        const int count = static_cast<int>(r.text.size());
        start = std::clamp(start, 0, count);
        end = end < 0 ? count : std::clamp(end, start, count);
        return r.text.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(read().text.size()); }

    QRect characterRect(int offset) const override {
        const ReadText& r = read();
        if (offset < 0 || offset >= static_cast<int>(r.text.size())) return {};
        const int p = r.position(offset);
        QTextCursor cursor(box()->document());
        cursor.setPosition(p);
        const QRect here = box()->cursorRect(cursor);
        cursor.setPosition(std::min(p + 1, r.length()));
        const QRect next = box()->cursorRect(cursor);
        const int width = next.top() == here.top() ? std::max(1, next.left() - here.left()) : 1;
        const QRect local(here.left(), here.top(), width, here.height());
        return QRect(box()->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = box()->viewport()->mapFromGlobal(point);
        if (!box()->viewport()->rect().contains(local)) return -1;
        return read().offset(box()->cursorForPosition(local).position());
    }
    void scrollToSubstring(int start, int) override {
        QTextCursor cursor(box()->document());
        cursor.setPosition(read().position(start));
        const QTextCursor kept = box()->textCursor();
        box()->setTextCursor(cursor);
        box()->ensureCursorVisible();
        box()->setTextCursor(kept);
    }
    // The format of the piece of one format holding offset.
    QString attributes(int offset, int* start, int* end) const override {
        const ReadText& r = read();
        if (offset == -2) offset = cursorPosition();
        if (offset < 0 || offset > static_cast<int>(r.text.size())) {
            *start = *end = -1;
            return {};
        }
        const int p = r.position(offset);
        int from = p, to = std::min(p + 1, r.length());
        QTextCharFormat format;
        const QTextBlock block = box()->document()->findBlock(p);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.contains(p)) {
                from = fragment.position();
                to = std::min(fragment.position() + fragment.length(), r.length());
                format = fragment.charFormat();
                break;
            }
        }
        *start = r.offset(from);
        *end = std::max(*start, r.offset(to));
        const QFontInfo font(format.font());
        return QStringLiteral("font-family:\"%1\";font-size:%2pt;font-weight:%3;font-style:%4;")
            .arg(font.family())
            .arg(font.pointSize())
            .arg(font.bold() ? QStringLiteral("bold") : QStringLiteral("normal"))
            .arg(font.italic() ? QStringLiteral("italic") : QStringLiteral("normal"));
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

    // Edits, in the text as read: a description is edited as its picture.
    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (box()->isReadOnly()) return;
        const ReadText& r = read();
        QTextCursor cursor(box()->document());
        cursor.setPosition(r.position(std::max(0, start)));
        cursor.setPosition(r.positionAtOrAfter(std::max(start, end)), QTextCursor::KeepAnchor);
        cursor.insertText(text);
    }

private:
    QString piece(int offset, QAccessible::TextBoundaryType type, TextSide side, int* start, int* end) const {
        const ReadText& r = read();
        const int count = static_cast<int>(r.text.size());
        // -2 is the caret, -1 the end of the text.
        if (offset == -2) offset = cursorPosition();
        if (offset == -1) offset = count;
        if (offset < 0 || offset > count) {
            *start = *end = -1;
            return {};
        }
        const int p = r.position(offset);
        const TextSpan span =
            type == QAccessible::LineBoundary ? lineSpan(r, p, side) : textSpan(r.plain, p, type, side);
        if (span.start < 0) {
            *start = *end = -1;
            return {};
        }
        *start = r.offset(span.start);
        *end = r.offset(span.end);
        return r.text.mid(*start, *end - *start);
    }

    struct Line {
        TextSpan span;
        bool has = false;
    };
    // Lines as they show, each with its line break; at the end of the text,
    // the last one. Before the text is laid out, lines run from break to break.
    TextSpan lineSpan(const ReadText& r, int p, TextSide side) const {
        const Line at = shownLine(r, p);
        if (!at.has) return textSpan(r.plain, p, QAccessible::LineBoundary, side);
        switch (side) {
            case TextSide::At:
                return at.span;
            case TextSide::Before:
                if (at.span.start == 0) return {0, 0};
                return shownLine(r, at.span.start - 1).span;
            case TextSide::After:
                if (at.span.end >= r.length()) return {r.length(), r.length()};
                return shownLine(r, at.span.end).span;
        }
        return at.span;
    }
    Line shownLine(const ReadText& r, int p) const {
        const int n = r.length();
        const int q = p >= n && n > 0 ? n - 1 : p;
        const QTextBlock block = box()->document()->findBlock(q);
        const QTextLayout* layout = block.isValid() ? block.layout() : nullptr;
        if (!layout || layout->lineCount() == 0) return {};
        const int inBlock = q - block.position();
        if (inBlock < 0 || inBlock >= block.length())
            return {{q, std::min(q + 1, n)}, true};  // a table's mark
        const QTextLine line = layout->lineForTextPosition(std::min(inBlock, block.length() - 1));
        if (!line.isValid()) return {};
        int start = block.position() + line.textStart();
        int end = start + line.textLength();
        if (line.lineNumber() == layout->lineCount() - 1)
            end = block.position() + block.length();  // its mark
        start = std::clamp(start, 0, n);
        end = std::clamp(end, start, n);
        if (q < start || (q >= end && end < n)) return {{q, std::min(q + 1, n)}, true};
        return {{start, end}, true};
    }

    mutable std::unique_ptr<ReadText> cache_;
    mutable QPointer<QTextDocument> cachedDocument_;  // null once gone
    mutable QMetaObject::Connection watching_;
    std::shared_ptr<bool> stale_ = std::make_shared<bool>(true);
};

QAccessibleInterface* describedFactory(const QString&, QObject* object) {
    if (!object || !describedBoxes().contains(object)) return nullptr;
    if (auto* box = qobject_cast<QTextEdit*>(object)) return new TextAreaReading(box);
    return nullptr;
}

// Qt tells the caret and the changes of a text box in document positions;
// the reader is told them in the offsets of the text it reads.
QAccessible::UpdateHandler& previousHandler() {
    static QAccessible::UpdateHandler previous = nullptr;
    return previous;
}

void translatingHandler(QAccessibleEvent* event);

void forward(QAccessibleEvent* event) {
    if (QAccessible::UpdateHandler previous = previousHandler()) {
        previous(event);
        return;
    }
    // Qt's own handling, which an installed handler replaces.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(translatingHandler);
}

void translatingHandler(QAccessibleEvent* event) {
    QObject* object = event->object();
    if (!object || !describedBoxes().contains(object)) return forward(event);
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(object);
    auto* reading = made ? dynamic_cast<TextAreaReading*>(made) : nullptr;
    if (!reading) return forward(event);
    switch (event->type()) {
        case QAccessible::TextCaretMoved: {
            auto* caret = static_cast<QAccessibleTextCursorEvent*>(event);
            caret->setCursorPosition(reading->read().offset(caret->cursorPosition()));
            return forward(event);
        }
        case QAccessible::TextInserted: {
            auto* inserted = static_cast<QAccessibleTextInsertEvent*>(event);
            reading->forget();
            const ReadText& r = reading->read();
            const int from = r.offset(inserted->changePosition());
            const int to =
                r.offset(inserted->changePosition() + static_cast<int>(inserted->textInserted().size()));
            QAccessibleTextInsertEvent told(object, from, r.text.mid(from, to - from));
            return forward(&told);
        }
        case QAccessible::TextRemoved: {
            auto* removed = static_cast<QAccessibleTextRemoveEvent*>(event);
            reading->forget();
            QAccessibleTextRemoveEvent told(object, reading->read().offset(removed->changePosition()),
                                            removed->textRemoved());
            return forward(&told);
        }
        case QAccessible::TextUpdated: {
            auto* updated = static_cast<QAccessibleTextUpdateEvent*>(event);
            reading->forget();
            const ReadText& r = reading->read();
            const int from = r.offset(updated->changePosition());
            const int to =
                r.offset(updated->changePosition() + static_cast<int>(updated->textInserted().size()));
            QAccessibleTextUpdateEvent told(object, from, updated->textRemoved(),
                                            r.text.mid(from, to - from));
            return forward(&told);
        }
        default:
            return forward(event);
    }
}

}  // namespace

QString undescribedPicture() {
    return QStringLiteral("image");
}

void readPicturesAsDescribed(QTextEdit* box) {
    static const bool installed = [] {
        QAccessible::installFactory(describedFactory);
        return true;
    }();
    (void)installed;
    // On top of whatever handler is there now, once.
    const QAccessible::UpdateHandler current = QAccessible::installUpdateHandler(translatingHandler);
    if (current != translatingHandler) previousHandler() = current;
    describedBoxes().insert(box);
    QObject::connect(box, &QObject::destroyed, [box] { describedBoxes().remove(box); });
    // An interface Qt made before reads the old way: the next one asked is ours.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(box))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

}  // namespace molvane
