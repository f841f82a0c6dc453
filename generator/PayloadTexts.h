// The markup and style sheet of the shell pane style, kept as files in generator/payload/ and
// built into the program byte for byte (cmake/EmbedTexts.cmake makes their source).
#pragma once

#include <string_view>

namespace quorvel::payload {

// pane.xml: the pane description (UIFILE). Colours are #RRGGBB and lengths pixels at 96 DPI;
// bitmap="N" names a BITMAP resource of shellstyle.dll and text="N" a string of its language
// file.
std::string_view paneMarkup();
// pane.htm: the pane as a page, without words (the texts come from the language file).
std::string_view panePage();
// shellstyle.css: the style sheet of both pages.
std::string_view styleSheet();
// about.htm: the about page of the language file.
std::string_view aboutPage();

} // namespace quorvel::payload
