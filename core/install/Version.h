#pragma once
// The media installer's version record.

namespace installer {

inline constexpr char ProductName[] = "Orvane Media Installer";
inline constexpr char FileDescription[] = "This will install media files automatically.";
inline constexpr char ProductVersion[] = "1.00.0001";

} // namespace installer
