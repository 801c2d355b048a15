#pragma once
// The library's resource numbers, for its resource script and its registration alike.

#define VUDAV_TOOLBOX_BITMAP 102
#define VUDAV_MENU_PAGE 203

// A resource number as the text of a string literal.
#define VUDAV_NUMBER_TEXT(n) VUDAV_NUMBER_TEXT_(n)
#define VUDAV_NUMBER_TEXT_(n) #n
