#include "core/evaluation/LogMessages.h"

namespace parvane::evaluation {

std::string withSignPlace(long long value)
{
    return value >= 0 ? " " + std::to_string(value) : std::to_string(value);
}

std::string failureMessage(int errorNumber, bool missing)
{
    if (missing)
        return std::string(kMessageMissing);
    return std::string(kMessageUndetermined) + withSignPlace(errorNumber);
}

} // namespace parvane::evaluation
