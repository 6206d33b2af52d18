#pragma once

// Where presenters reach the people behind Cuewright. Every screen that
// names the support address or the web site takes it from here, so the two
// can change in one place.

namespace cw::product {

inline constexpr char support_email[] = "support@cuewright.app";
inline constexpr char site_url[] = "https://cuewright.app/";

}
