// The files the program carries inside itself, made from the files in this folder.
#pragma once

#include <cstdint>
#include <span>

namespace lw::assets {

// The font configuration that maps the toolkit's families to the shipped CJK font.
std::span<const uint8_t> FontsConf();

// PNG streams without their 8-byte signature (loaded with the signature added back).
std::span<const uint8_t> CaptionButtons();  // 729 × 20 caption-button glyph strip

// Complete PNG files.
std::span<const uint8_t> CheckBoxSprite();    // 68 × 17: unchecked at x 0, checked at x 34
std::span<const uint8_t> CheckMark();         // 20 × 20
std::span<const uint8_t> WindowBackground();  // 420 × 320
std::span<const uint8_t> IconTopmost();       // 22 × 22, "窗口置顶"
std::span<const uint8_t> IconLeaveTop();      // 22 × 22, "取消置顶"
std::span<const uint8_t> IconQq();            // 20 × 20, "联系QQ"
std::span<const uint8_t> IconWangwang();      // 25 × 25, "联系旺旺"
std::span<const uint8_t> IconHome();          // 22 × 22, "打开官网"
std::span<const uint8_t> ProgramIcon16();
std::span<const uint8_t> ProgramIcon20();  // the heading's icon picture
std::span<const uint8_t> ProgramIcon32();
std::span<const uint8_t> ProgramIcon48();

}  // namespace lw::assets
