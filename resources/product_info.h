// The product's addresses. PACKAGER: replace both with the real web site and support address
// before shipping; nothing else in the program names them.
#pragma once

namespace tamrel {

// Hosts the two start-up pages (/brovik/connect.html, /brovik/connect2.html) and is named in the
// start-up greeting. No trailing slash.
inline constexpr const char* kProductSite = "https://tamrel.example.org";  // PACKAGER: change

// Named in the Report A Bug message.
inline constexpr const char* kSupportEmail = "support@tamrel.example.org";  // PACKAGER: change

}  // namespace tamrel
