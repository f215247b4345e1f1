#include "browserlayout.h"

#include <algorithm>

namespace BrowserLayout {

namespace {
float atLeastZero(float value) { return std::max(0.0f, value); }
} // namespace

bool appliesTo(float clientWidth, float clientHeight)
{
    return clientWidth != 0.0f || clientHeight != 0.0f;
}

float wordBoxWidth(float outerWidth, float buttonWidth)
{
    return atLeastZero(outerWidth - buttonWidth - 1800.0f);
}

float buttonLeft(float wordBoxLeft, float wordBoxWidth)
{
    return wordBoxWidth + wordBoxLeft + 200.0f;
}

float browserWidth(float outerWidth) { return atLeastZero(outerWidth - 700.0f); }

float browserHeight(float outerHeight) { return atLeastZero(outerHeight - 2300.0f); }

} // namespace BrowserLayout
