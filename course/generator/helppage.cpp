#include "course/generator/helppage.h"

#include "course/generator/documents.h"

namespace molvane::course {

namespace {

// The help window reads its pages with Qt's HTML reader, which takes a narrow
// no-break space for a blank that may break: the pages use the wider one.
QString helpSpacing(const QString& text) {
    return frenchSpacing(text.toHtmlEscaped()).replace(QStringLiteral("&#8239;"), QStringLiteral("&nbsp;"));
}

QString levelText(int level) {
    return QStringLiteral("niveau %1").arg(level);
}

}  // namespace

QString exerciseRows(const std::vector<ListedExercise>& exercises) {
    QString rows;
    int number = 0;
    for (const ListedExercise& e : exercises) {
        rows +=
            QStringLiteral(
                "<tr><td>%1</td><td><a name=\"%2\"></a><b>%3</b></td><td>%4</td><td>%5</td></tr>\n")
                .arg(++number)
                .arg(e.name.toHtmlEscaped(), helpSpacing(e.title), helpSpacing(e.topics), levelText(e.level));
    }
    return rows;
}

QString exerciseKeywords(const std::vector<ListedExercise>& exercises, const QString& page) {
    QString keywords;
    for (const ListedExercise& e : exercises)
        keywords += QStringLiteral("      <keyword name=\"%1\" ref=\"%2#%3\"/>\n")
                        .arg(helpSpacing(e.title).replace(QStringLiteral("&nbsp;"), QStringLiteral("&#160;")),
                             page, e.name.toHtmlEscaped());
    return keywords;
}

bool replaceMarker(QString& text, const QString& marker, const QString& replacement) {
    const qsizetype at = text.indexOf(marker);
    if (at < 0) return false;
    const qsizetype start = text.lastIndexOf(QLatin1Char('\n'), at) + 1;
    qsizetype end = text.indexOf(QLatin1Char('\n'), at);
    end = end < 0 ? text.size() : end + 1;
    text.replace(start, end - start, replacement);
    return true;
}

}  // namespace molvane::course
