#pragma once

#include <FontBinaryData.h>

/** The embedded font files by their resource index, as the look-and-feel refers to them. The
    build compiles the files in this order (see resources/CMakeLists.txt). */
namespace FontBinaryData
{

inline const char* const& temp_binary_data_0 = LatoBold_ttf;       // "Lato" Bold
inline const char* const& temp_binary_data_1 = LatoBoldItalic_ttf; // "Lato" Bold Italic
inline const char* const& temp_binary_data_2 = LatoItalic_ttf;     // "Lato" Italic
inline const char* const& temp_binary_data_3 = LatoRegular_ttf;    // "Lato" Regular
inline const char* const& temp_binary_data_4 = Glass_TTY_VT220_ttf; // console face (monospace)

constexpr int temp_binary_data_0Size = LatoBold_ttfSize;
constexpr int temp_binary_data_1Size = LatoBoldItalic_ttfSize;
constexpr int temp_binary_data_2Size = LatoItalic_ttfSize;
constexpr int temp_binary_data_3Size = LatoRegular_ttfSize;
constexpr int temp_binary_data_4Size = Glass_TTY_VT220_ttfSize;

} // namespace FontBinaryData
