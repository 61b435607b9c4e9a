#include "StoreTest.h"

#include "platform/data/Query.h"
#include "platform/rtl/StrUtils.h"

AnsiString StoreTest::LastStatement() const {
    return TrimRight(Dmod->CommonSql->SQL()->Text());
}
