#include "story_name_query.h"

#include "database_access.h"

QString StoryNameSearchSql(const QString& typedText) {
    // The two spaces either side of the table name are kept as the shop system has always
    // sent them.
    return QStringLiteral("Select [BStrID], [BStrName] From  Story  Where BStrName Like ") +
           Library1::SqlLiteral(u'%' + Library1::TrimSpaces(typedText) + u'%') +
           QStringLiteral(" Order by BStrName");
}
