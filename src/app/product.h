#pragma once
// Texts that name the product and its vendor.

namespace soundboard {

inline constexpr char kProductName[] = "舞台音效板";
inline constexpr char kVendorSiteCaption[] = "舞台音效板官网 www.example.com";
inline constexpr char kPromotionLine[] = "购买本店音频设备，免费赠送变声软件";

}  // namespace soundboard
