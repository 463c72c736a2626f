#pragma once

#include <string>
#include <string_view>

// Text from outside (file names, titles, error texts) made safe and visible
// inside an HTML document, which is UTF-8.

// text as HTML character data or an attribute value in double or single
// quotes: '&', '<', '>', '"' and '\'' as character references; every valid
// UTF-8 sequence kept as it is; a byte that starts no valid sequence (a
// stray continuation byte, an overlong form, a surrogate, past U+10FFFF) as
// U+FFFD; a C0 control or DEL as its control picture (U+2400 + code, U+2421),
// a C1 control (U+0080..U+009F) as U+FFFD, so that a name with a line break
// or a tab shows where it has one. What a browser shows is then the text
// itself, never markup.
std::string HtmlEscaped(std::string_view text);
