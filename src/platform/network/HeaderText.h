// The texts of an HTTP exchange that every HTTP client here reads or checks
// the same way: header lines and the address a request goes to.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// text without the blanks and line ends around it.
std::string_view TrimBlanks(std::string_view text);

// The value of header `name` (any case) among a reply's header lines
// ("Name: value"), without the blanks around it; nothing when none has it.
std::optional<std::string> FindHeader(const std::vector<std::string>& lines, std::string_view name);

// Whether a line's field name is `name`, in any case.
bool IsHeaderNamed(std::string_view line, std::string_view name);

// The address of an HTTP request: "http://server[:port]object", the port
// left out when it is 80.
std::string RequestUrl(std::string_view server, unsigned port, std::string_view object);

// Whether text holds a blank or a control character, which may not go into
// a request line whatever an address held.
bool HasBlankOrControl(std::string_view text);

}  // namespace platform
