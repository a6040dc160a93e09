#pragma once

#include <QString>

// The query behind the search box: every story whose name holds the typed text, by name.
// Leading and trailing spaces of the typed text do not count. An apostrophe in it is doubled
// so it is searched for like any other character; the LIKE wildcards (%, _, [...]) keep
// their meaning, so the operator can still use them.
QString StoryNameSearchSql(const QString& typedText);
