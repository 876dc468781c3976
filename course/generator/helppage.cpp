#include "course/generator/helppage.h"

#include "course/generator/documents.h"

namespace molvane::course {

namespace {

QString levelText(int level) {
    return QStringLiteral("niveau %1").arg(level);
}

}  // namespace

QString exerciseRows(const std::vector<ListedExercise>& exercises) {
    QString rows;
    int number = 0;
    for (const ListedExercise& e : exercises) {
        rows += QStringLiteral("<tr><td>%1</td><td><a name=\"%2\"></a><b>%3</b></td><td>%4</td><td>%5</td></tr>\n")
                    .arg(++number)
                    .arg(e.name.toHtmlEscaped(), frenchSpacing(e.title.toHtmlEscaped()),
                         frenchSpacing(e.topics.toHtmlEscaped()), levelText(e.level));
    }
    return rows;
}

QString exerciseKeywords(const std::vector<ListedExercise>& exercises, const QString& page) {
    QString keywords;
    for (const ListedExercise& e : exercises)
        keywords += QStringLiteral("      <keyword name=\"%1\" ref=\"%2#%3\"/>\n")
                        .arg(frenchSpacing(e.title.toHtmlEscaped()).replace(QStringLiteral("&nbsp;"), QStringLiteral("&#160;")),
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
