// The application icon as the resources carry it: group 128 with nine
// images, 48, 32 and 16 pixels at 4, 8 and 24 bits per pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "ui/HWSetupDlgRes.h"

namespace {

#pragma pack(push, 2)
struct GroupHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
struct GroupEntry {
  BYTE width;
  BYTE height;
  BYTE colours;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

const void* Resource(LPCWSTR type, int id, DWORD* size) {
  const HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
  if (found == nullptr) return nullptr;
  *size = ::SizeofResource(nullptr, found);
  return ::LockResource(::LoadResource(nullptr, found));
}

TEST(Icon, GroupHoldsNineImagesOfThreeSizesAtThreeDepths) {
  DWORD size = 0;
  const auto* header =
      static_cast<const GroupHeader*>(Resource(RT_GROUP_ICON, IDR_MAINFRAME, &size));
  ASSERT_NE(header, nullptr);
  ASSERT_EQ(header->type, 1);
  ASSERT_EQ(header->count, 9);
  ASSERT_GE(size, sizeof *header + 9 * sizeof(GroupEntry));
  const auto* entries = reinterpret_cast<const GroupEntry*>(header + 1);

  std::set<std::pair<int, int>> images;
  for (int i = 0; i < header->count; ++i) {
    const GroupEntry& entry = entries[i];
    images.insert({entry.width, entry.bitCount});
    // The image says what its directory entry says, and it loads.
    DWORD bytes = 0;
    const auto* image = static_cast<const BITMAPINFOHEADER*>(Resource(RT_ICON, entry.id, &bytes));
    ASSERT_NE(image, nullptr) << "image " << i;
    EXPECT_EQ(entry.height, entry.width) << "image " << i;
    EXPECT_EQ(image->biWidth, entry.width) << "image " << i;
    EXPECT_EQ(image->biHeight, 2 * entry.height) << "image " << i << ": colour and mask";
    EXPECT_EQ(image->biBitCount, entry.bitCount) << "image " << i;
    const HICON icon =
        ::CreateIconFromResourceEx(reinterpret_cast<PBYTE>(const_cast<BITMAPINFOHEADER*>(image)),
                                   bytes, TRUE, 0x00030000, entry.width, entry.height, 0);
    EXPECT_NE(icon, nullptr) << "image " << i;
    ::DestroyIcon(icon);
  }
  const std::set<std::pair<int, int>> expected = {{48, 4},  {48, 8}, {48, 24}, {32, 4}, {32, 8},
                                                  {32, 24}, {16, 4}, {16, 8},  {16, 24}};
  EXPECT_EQ(images, expected);
  EXPECT_NE(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)), nullptr);
}

}  // namespace
