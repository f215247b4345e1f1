#pragma once

// How the main window's word box, "Translate" button and browser follow the window's outer
// size W x H, in twips. Sizes that would go below zero in a window smaller than the rule allows
// are held at zero.
namespace BrowserLayout {

// A minimized window reports a 0 x 0 client area, and then nothing is re-laid out.
bool appliesTo(float clientWidth, float clientHeight);

float wordBoxWidth(float outerWidth, float buttonWidth);
// The button stays 200 twips right of the word box, whose width is taken as the box reports it.
float buttonLeft(float wordBoxLeft, float wordBoxWidth);
float browserWidth(float outerWidth);
float browserHeight(float outerHeight);

} // namespace BrowserLayout
