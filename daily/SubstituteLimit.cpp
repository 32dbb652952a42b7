#include "SubstituteLimit.h"

#include "Database.h"

#include <algorithm>

int SubstituteLimit::daily()
{
    return std::clamp(QueryValue(QStringLiteral("select dailylimit from substitutelimit where id = 1"), {}, kDefault).toInt(),
                      1, kMost);
}

bool SubstituteLimit::setDaily(int limit)
{
    return ExecuteSql(QStringLiteral("insert into substitutelimit (id, dailylimit) values (1, ?)"
                                     " on conflict (id) do update set dailylimit = excluded.dailylimit"),
                      {std::clamp(limit, 1, kMost)});
}
