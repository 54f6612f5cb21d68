#include "core/evaluation/LogMessages.h"

namespace parvane::evaluation {

std::string withSignPlace(long long value)
{
    std::string text = value >= 0 ? " " : "";
    text.append(std::to_string(value));
    return text;
}

std::string failureMessage(int errorNumber, bool missing)
{
    if (missing)
        return std::string(kMessageMissing);
    return std::string(kMessageUndetermined) + withSignPlace(errorNumber);
}

} // namespace parvane::evaluation
