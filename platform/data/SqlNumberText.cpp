#include "platform/data/SqlNumberText.h"

#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

#include <charconv>
#include <cmath>

bool TryParseSqlNumber(const AnsiString& Text, double& Value) {
    const AnsiString S = Trim(Text);
    if (S.empty()) return false;
    const char* Begin = S.data();
    if (*Begin == '+') ++Begin;
    const auto Result = std::from_chars(Begin, S.data() + S.size(), Value);
    return Result.ec == std::errc() && Result.ptr == S.data() + S.size();
}

bool TryParseSqlInteger(const AnsiString& Text, std::int64_t& Value) {
    if (TryStrToInt64(Trim(Text), Value)) return true;
    double Real = 0.0;
    if (!TryParseSqlNumber(Text, Real) || !std::isfinite(Real) || std::fabs(Real) >= 9.2e18)
        return false;
    Value = std::llrint(Real);
    return true;
}
