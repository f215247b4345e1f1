#pragma once

class Form;

// Window services shared by the dialogs.
namespace modUtility {

// Where a window of the given size starts when centred on a screen of the given size, in twips.
// Kept exact: an odd difference gives a half twip, and a window larger than the screen starts
// before its edge.
float centredOffset(float screenSize, float windowSize);

// Centres the window on the screen, left first, then top. Call it on a hidden window just before
// showing it, so neither move is seen.
void CenterForm(Form &form);

} // namespace modUtility
