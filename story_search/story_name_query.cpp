#include "story_search/story_name_query.h"

#include "support/database_access.h"
#include "support/text_helpers.h"

QString StoryNameSearchSql(const QString& typedText) {
    // The query's text is fixed to the letter, the two spaces either side of the table name
    // included; the database reads them as one.
    return QStringLiteral("Select [BStrID], [BStrName] From  Story  Where BStrName Like ") +
           Library1::SqlLiteral(u'%' + Library1::TrimSpaces(typedText) + u'%') +
           QStringLiteral(" Order by BStrName");
}
