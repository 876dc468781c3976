#include "tests/accessibility/accessibletree.h"

#include <QAccessible>
#include <QRegularExpression>
#include <QSet>
#include <functional>

namespace molvane {

namespace {

// Words that would show an English name: Qt's own texts left untranslated,
// or a name written in haste. None is a French word.
const QSet<QString>& englishWords() {
    static const QSet<QString> kWords{
        QStringLiteral("the"),
        QStringLiteral("and"),
        QStringLiteral("of"),
        QStringLiteral("button"),
        QStringLiteral("cancel"),
        QStringLiteral("open"),
        QStringLiteral("save"),
        QStringLiteral("close"),
        QStringLiteral("print"),
        QStringLiteral("printer"),
        QStringLiteral("help"),
        QStringLiteral("folder"),
        QStringLiteral("name"),
        QStringLiteral("look"),
        QStringLiteral("back"),
        QStringLiteral("forward"),
        QStringLiteral("new"),
        QStringLiteral("list"),
        QStringLiteral("detail"),
        QStringLiteral("view"),
        QStringLiteral("search"),
        QStringLiteral("find"),
        QStringLiteral("next"),
        QStringLiteral("previous"),
        QStringLiteral("up"),
        QStringLiteral("down"),
        QStringLiteral("line"),
        QStringLiteral("left"),
        QStringLiteral("right"),
        QStringLiteral("bottom"),
        QStringLiteral("clear"),
        QStringLiteral("apply"),
        QStringLiteral("yes"),
        QStringLiteral("copy"),
        QStringLiteral("paste"),
        QStringLiteral("undo"),
        QStringLiteral("redo"),
        QStringLiteral("delete"),
        QStringLiteral("contents"),
        QStringLiteral("settings"),
        QStringLiteral("color"),
        QStringLiteral("colour"),
        QStringLiteral("scroll"),
        QStringLiteral("drive"),
        QStringLiteral("directory"),
        QStringLiteral("size"),
        QStringLiteral("select"),
        QStringLiteral("all"),
        QStringLiteral("text"),
        QStringLiteral("edit"),
        QStringLiteral("value"),
        QStringLiteral("exercise"),
        QStringLiteral("calculator"),
        QStringLiteral("graph"),
        QStringLiteral("tab"),
        QStringLiteral("count"),
        // Qt's printer dialog leaves its two-sided printing in English.
        QStringLiteral("off"),
        QStringLiteral("side"),
        QStringLiteral("sided"),
        QStringLiteral("binding"),
        QStringLiteral("printing"),
        QStringLiteral("specify"),
        QStringLiteral("properties"),
        QStringLiteral("window"),
        QStringLiteral("files"),
    };
    return kWords;
}

// Objects a pupil acts on. The content of lists, trees and tables (items,
// cells, headers) is the data shown, read as it is.
bool interactive(QAccessibleInterface* object) {
    switch (object->role()) {
        case QAccessible::Cell:
        case QAccessible::ListItem:
        case QAccessible::TreeItem:
        case QAccessible::Row:
        case QAccessible::ColumnHeader:
        case QAccessible::RowHeader:
            return false;
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::PageTab:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
        case QAccessible::SpinBox:
        case QAccessible::EditableText:
        case QAccessible::MenuItem:
            return true;
        default:
            return object->state().focusable;
    }
}

QString stepName(QAccessibleInterface* object) {
    const QObject* o = object->object();
    const QString name = !o                          ? QStringLiteral("?")
                         : o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className())
                                                     : o->objectName();
    return QStringLiteral("%1(%2)").arg(name).arg(static_cast<int>(object->role()), 0, 16);
}

void walk(QAccessibleInterface* object, const QString& path, int depth,
          const std::function<void(QAccessibleInterface*, const QString&)>& visit) {
    if (!object || !object->isValid() || depth > 40) return;
    const QString here = path + QLatin1Char('/') + stepName(object);
    visit(object, here);
    for (int i = 0; i < object->childCount(); ++i) walk(object->child(i), here, depth + 1, visit);
}

}  // namespace

QString frenchNameFault(const QString& name, const QString& designName) {
    const QString text = name.trimmed();
    if (text.isEmpty()) return QStringLiteral("sans nom");
    static const QRegularExpression kLetter(QStringLiteral("\\p{L}"));
    // A number is read as one, a percentage too ("100 %": "cent pour cent").
    static const QRegularExpression kDigits(QStringLiteral("^[0-9]+(\\s*%)?$"));
    if (!text.contains(kLetter) && !kDigits.match(text).hasMatch())
        return QStringLiteral("un symbole, pas un nom");
    // "Command5" or "btexo" are no names; "plus" or "kilo" are, even as design names.
    static const QRegularExpression kDesign(QStringLiteral("[0-9_]|[a-z][A-Z]|^[a-z]+[A-Z0-9]"));
    if (!designName.isEmpty() && text == designName && kDesign.match(text).hasMatch())
        return QStringLiteral("le nom de conception");
    static const QRegularExpression kWord(QStringLiteral("[^\\p{L}]+"));
    for (const QString& word : text.toLower().split(kWord, Qt::SkipEmptyParts))
        if (englishWords().contains(word)) return QStringLiteral("en anglais (%1)").arg(word);
    return {};
}

std::vector<std::string> unnamedObjects(QObject* window) {
    std::vector<std::string> faults;
    walk(QAccessible::queryAccessibleInterface(window), QString(), 0,
         [&](QAccessibleInterface* object, const QString& path) {
             if (!interactive(object)) return;
             // A combo box reads its current choice as its name on Linux,
             // where a reader finds its label through its relations.
             QString name = object->text(QAccessible::Name);
             if (object->role() == QAccessible::ComboBox && object->object())
                 name = object->object()->property("accessibleName").toString();
             const QString fault =
                 frenchNameFault(name, object->object() ? object->object()->objectName() : QString());
             if (!fault.isEmpty())
                 faults.push_back(
                     (path + QStringLiteral(": «") + name + QStringLiteral("»: ") + fault).toStdString());
         });
    return faults;
}

int interactiveObjects(QObject* window) {
    int count = 0;
    walk(QAccessible::queryAccessibleInterface(window), QString(), 0,
         [&](QAccessibleInterface* object, const QString&) { count += interactive(object); });
    return count;
}

}  // namespace molvane
