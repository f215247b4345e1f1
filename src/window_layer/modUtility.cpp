#include "modUtility.h"

#include "form.h"

namespace modUtility {

float centredOffset(float screenSize, float windowSize) { return (screenSize - windowSize) / 2.0f; }

void CenterForm(Form &form)
{
    form.setLeft(centredOffset(Form::ScreenWidth(), form.Width()));
    form.setTop(centredOffset(Form::ScreenHeight(), form.Height()));
}

} // namespace modUtility
