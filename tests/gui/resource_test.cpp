// The resources as they are in the built Quorvex.exe, read with the loader's own functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "res/resource.h"
#include "res/version.h"
#include "support/handle_win.h"
#include "support/text.h"

namespace {

constexpr WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

struct Bytes {
  const BYTE* data = nullptr;
  size_t size = 0;
};

#pragma pack(push, 2)
struct GroupEntry {
  BYTE width, height, colourCount, reserved;
  WORD planes, bitCount;
  DWORD bytesInRes;
  WORD id;
};
#pragma pack(pop)

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
  reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
  return TRUE;
}

class ResourceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The test runs in the folder of the executable.
    wchar_t path[MAX_PATH] = {};
    GetFullPathNameW(L"Quorvex.exe", MAX_PATH, path, nullptr);
    module_ = new ModuleHandle(
        LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  }
  static void TearDownTestSuite() {
    delete module_;
    module_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(module_->valid()) << "Quorvex.exe not found"; }

  static Bytes Resource(LPCWSTR type, LPCWSTR name, WORD language = kChinesePrc) {
    HRSRC const found = FindResourceExW(module_->get(), type, name, language);
    if (found == nullptr) return {};
    HGLOBAL const loaded = LoadResource(module_->get(), found);
    return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(module_->get(), found)};
  }

  static std::vector<WORD> Languages(LPCWSTR type, LPCWSTR name) {
    std::vector<WORD> languages;
    EnumResourceLanguagesW(module_->get(), type, name, &AddLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    return languages;
  }

  // The entries of the icon group, empty when the group is missing or malformed.
  static std::vector<GroupEntry> IconGroup() {
    const Bytes group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDR_MAINFRAME));
    std::vector<GroupEntry> entries;
    if (group.size < 6) return entries;
    WORD header[3];
    std::memcpy(header, group.data, sizeof(header));
    if (header[1] != 1 || group.size != 6 + header[2] * sizeof(GroupEntry)) return entries;
    entries.resize(header[2]);
    std::memcpy(entries.data(), group.data + 6, entries.size() * sizeof(GroupEntry));
    return entries;
  }

  static ModuleHandle* module_;
};

ModuleHandle* ResourceTest::module_ = nullptr;

// Reads the packed fields of a dialog template in order.
class TemplateReader {
 public:
  explicit TemplateReader(Bytes bytes) : bytes_(bytes) {}

  template <typename T>
  T Read() {
    T value{};
    if (offset_ + sizeof(T) <= bytes_.size) std::memcpy(&value, bytes_.data + offset_, sizeof(T));
    offset_ += sizeof(T);
    return value;
  }
  Text ReadString() {
    Text text;
    for (wchar_t c = Read<wchar_t>(); c != 0 && offset_ <= bytes_.size; c = Read<wchar_t>()) {
      text.push_back(c);
    }
    return text;
  }
  // A string, or an ordinal written as "#<number>".
  Text ReadNameOrOrdinal() {
    const WORD first = Read<WORD>();
    if (first == 0) return Text();
    if (first == 0xFFFF) return L"#" + ToText(Read<WORD>());
    offset_ -= sizeof(WORD);
    return ReadString();
  }
  void AlignToDword() { offset_ = (offset_ + 3) & ~size_t{3}; }
  void Skip(size_t count) { offset_ += count; }

 private:
  Bytes bytes_;
  size_t offset_ = 0;
};

struct ControlTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  int32_t id = 0;
  Text windowClass;
  Text text;
};

struct DialogTemplate {
  WORD version = 0;
  WORD signature = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  Text menu, windowClass, caption;
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  Text typeface;
  std::vector<ControlTemplate> controls;
};

DialogTemplate ParseDialogEx(Bytes bytes) {
  TemplateReader reader(bytes);
  DialogTemplate dialog;
  dialog.version = reader.Read<WORD>();
  dialog.signature = reader.Read<WORD>();
  reader.Read<DWORD>();  // help id
  dialog.exStyle = reader.Read<DWORD>();
  dialog.style = reader.Read<DWORD>();
  const WORD count = reader.Read<WORD>();
  dialog.x = reader.Read<short>();
  dialog.y = reader.Read<short>();
  dialog.cx = reader.Read<short>();
  dialog.cy = reader.Read<short>();
  dialog.menu = reader.ReadNameOrOrdinal();
  dialog.windowClass = reader.ReadNameOrOrdinal();
  dialog.caption = reader.ReadString();
  if (dialog.style & DS_SETFONT) {
    dialog.pointSize = reader.Read<WORD>();
    dialog.weight = reader.Read<WORD>();
    dialog.italic = reader.Read<BYTE>();
    dialog.charset = reader.Read<BYTE>();
    dialog.typeface = reader.ReadString();
  }
  for (WORD i = 0; i < count; ++i) {
    reader.AlignToDword();
    ControlTemplate control;
    reader.Read<DWORD>();  // help id
    control.exStyle = reader.Read<DWORD>();
    control.style = reader.Read<DWORD>();
    control.x = reader.Read<short>();
    control.y = reader.Read<short>();
    control.cx = reader.Read<short>();
    control.cy = reader.Read<short>();
    control.id = reader.Read<int32_t>();
    control.windowClass = reader.ReadNameOrOrdinal();
    control.text = reader.ReadNameOrOrdinal();
    reader.Skip(reader.Read<WORD>());  // creation data
    dialog.controls.push_back(control);
  }
  return dialog;
}

// Class ordinals of the predefined controls.
const Text kButton = L"#128";
const Text kEdit = L"#129";
const Text kStatic = L"#130";
const Text kListBox = L"#131";

void ExpectControl(const ControlTemplate& actual, int32_t id, const Text& windowClass,
                   const Text& text, short x, short y, short cx, short cy, DWORD style) {
  SCOPED_TRACE("control " + std::to_string(id) + " " + ToUtf8(text));
  EXPECT_EQ(actual.id, id);
  EXPECT_EQ(actual.windowClass, windowClass);
  EXPECT_EQ(actual.text, text);
  EXPECT_EQ(actual.x, x);
  EXPECT_EQ(actual.y, y);
  EXPECT_EQ(actual.cx, cx);
  EXPECT_EQ(actual.cy, cy);
  EXPECT_EQ(actual.style, style | WS_CHILD | WS_VISIBLE) << std::hex << actual.style;
  EXPECT_EQ(actual.exStyle, 0u);
}

void ExpectDialogFont(const DialogTemplate& dialog) {
  EXPECT_EQ(dialog.version, 1) << "an extended template";
  EXPECT_EQ(dialog.signature, 0xFFFF);
  EXPECT_EQ(dialog.pointSize, 9);
  EXPECT_EQ(dialog.weight, FW_NORMAL);
  EXPECT_EQ(dialog.italic, 0);
  EXPECT_EQ(dialog.charset, DEFAULT_CHARSET);
  EXPECT_EQ(dialog.typeface, L"MS Shell Dlg");
  EXPECT_EQ(dialog.menu, L"");
  EXPECT_EQ(dialog.windowClass, L"");
}

TEST_F(ResourceTest, MainDialogTemplate) {
  const DialogTemplate dialog =
      ParseDialogEx(Resource(RT_DIALOG, MAKEINTRESOURCEW(IDD_MAIN_DIALOG)));
  ExpectDialogFont(dialog);
  EXPECT_EQ(dialog.cx, 418);
  EXPECT_EQ(dialog.cy, 234);
  EXPECT_EQ(dialog.style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                             DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS))
      << std::hex << dialog.style;
  EXPECT_EQ(dialog.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
  EXPECT_EQ(dialog.caption, L"Quorvex");

  const std::vector<ControlTemplate>& c = dialog.controls;
  ASSERT_EQ(c.size(), 8u);
  ExpectControl(c[0], -1, kStatic, L"用户名", 12, 27, 24, 9, SS_LEFT | WS_GROUP);
  ExpectControl(c[1], -1, kStatic, L"密码", 12, 42, 26, 9, SS_LEFT | WS_GROUP);
  ExpectControl(c[2], IDC_USER_NAME, kEdit, L"", 41, 24, 313, 14,
                WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL);
  ExpectControl(c[3], IDC_PASSWORD, kEdit, L"", 41, 39, 313, 14,
                WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD);
  ExpectControl(c[4], IDC_TEST_CONNECTION, kButton, L"测试连接", 358, 24, 50, 27,
                BS_DEFPUSHBUTTON | WS_TABSTOP);
  ExpectControl(c[5], IDC_PROGRESS_LIST, kListBox, L"", 7, 56, 404, 169,
                LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP);
  ExpectControl(c[6], -1, kStatic, L"此程序用来测试Kelo登录网络连接", 43, 10, 110, 8,
                SS_LEFT | WS_GROUP);
  ExpectControl(c[7], IDC_LOCAL_ADDRESS, kStatic, L"", 282, 10, 114, 8, SS_LEFT | WS_GROUP);
}

TEST_F(ResourceTest, AboutBoxTemplate) {
  const DialogTemplate dialog = ParseDialogEx(Resource(RT_DIALOG, MAKEINTRESOURCEW(IDD_ABOUTBOX)));
  ExpectDialogFont(dialog);
  EXPECT_EQ(dialog.cx, 170);
  EXPECT_EQ(dialog.cy, 62);
  EXPECT_EQ(dialog.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                             DS_SETFONT | DS_FIXEDSYS))
      << std::hex << dialog.style;
  EXPECT_EQ(dialog.caption, L"关于 Quorvex");

  const std::vector<ControlTemplate>& c = dialog.controls;
  ASSERT_EQ(c.size(), 3u);
  ExpectControl(c[0], -1, kStatic, L"#128", 14, 14, 21, 20, SS_ICON);
  ExpectControl(c[1], -1, kStatic, L"Quorvex，" QUORVEX_VERSION_SHORT_TEXT " 版", 42, 14, 114, 8,
                SS_LEFT | SS_NOPREFIX | WS_GROUP);
  ExpectControl(c[2], IDOK, kButton, L"确定", 113, 41, 50, 14,
                BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP);
}

TEST_F(ResourceTest, AboutEntryString) {
  // Strings are stored sixteen to a block, each with its length in front.
  const Bytes block = Resource(RT_STRING, MAKEINTRESOURCEW(IDS_ABOUTBOX / 16 + 1));
  ASSERT_NE(block.data, nullptr);
  const auto* units = reinterpret_cast<const wchar_t*>(block.data);
  for (int i = 0; i < IDS_ABOUTBOX % 16; ++i) units += 1 + *units;
  EXPECT_EQ(Text(units + 1, *units), L"关于 Quorvex(&A)...");
}

TEST_F(ResourceTest, IconGroupHasNineImagesOfEverySizeAndDepth) {
  const std::vector<GroupEntry> group = IconGroup();
  ASSERT_EQ(group.size(), 9u);
  std::vector<std::pair<int, int>> images;  // size, bits per pixel
  for (const GroupEntry& entry : group) {
    const Bytes image = Resource(RT_ICON, MAKEINTRESOURCEW(entry.id));
    ASSERT_NE(image.data, nullptr) << "icon image " << entry.id;
    ASSERT_EQ(image.size, entry.bytesInRes);
    BITMAPINFOHEADER bitmap;
    std::memcpy(&bitmap, image.data, sizeof(bitmap));
    EXPECT_EQ(bitmap.biWidth, entry.width);
    EXPECT_EQ(bitmap.biHeight, 2 * entry.height) << "colour and mask";
    EXPECT_EQ(bitmap.biBitCount, entry.bitCount);
    EXPECT_EQ(entry.width, entry.height);
    images.emplace_back(entry.width, bitmap.biBitCount);
  }
  for (int size : {48, 32, 16}) {
    for (int depth : {4, 8, 24}) {
      EXPECT_EQ(std::count(images.begin(), images.end(), std::make_pair(size, depth)), 1)
          << size << " px at " << depth << " bpp";
    }
  }
}

TEST_F(ResourceTest, VersionBlock) {
  const Bytes version = Resource(RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO));
  ASSERT_NE(version.data, nullptr);
  // VerQueryValue wants a writable copy.
  std::vector<BYTE> copy(version.data, version.data + version.size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], kChinesePrc);
  EXPECT_EQ(translation[1], 936);

  wchar_t* fileVersion = nullptr;
  ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\StringFileInfo\\080403a8\\FileVersion",
                             reinterpret_cast<void**>(&fileVersion), &length));
  EXPECT_EQ(Text(fileVersion), L"1.0.0.1");
  for (const wchar_t* name : {L"CompanyName", L"FileDescription", L"ProductName", L"LegalCopyright",
                              L"OriginalFilename"}) {
    wchar_t* value = nullptr;
    const Text path = Text(L"\\StringFileInfo\\080403a8\\") + name;
    EXPECT_TRUE(
        VerQueryValueW(copy.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) &&
        length > 1)
        << "no " << ToUtf8(name);
  }
}

TEST_F(ResourceTest, EverythingIsInChinesePrc) {
  const std::vector<WORD> chinese = {kChinesePrc};
  EXPECT_EQ(Languages(RT_DIALOG, MAKEINTRESOURCEW(IDD_MAIN_DIALOG)), chinese);
  EXPECT_EQ(Languages(RT_DIALOG, MAKEINTRESOURCEW(IDD_ABOUTBOX)), chinese);
  EXPECT_EQ(Languages(RT_STRING, MAKEINTRESOURCEW(IDS_ABOUTBOX / 16 + 1)), chinese);
  EXPECT_EQ(Languages(RT_MENU, MAKEINTRESOURCEW(IDR_PROGRESS_MENU)), chinese);
  EXPECT_EQ(Languages(RT_GROUP_ICON, MAKEINTRESOURCEW(IDR_MAINFRAME)), chinese);
  EXPECT_EQ(Languages(RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO)), chinese);
  const std::vector<GroupEntry> group = IconGroup();
  EXPECT_EQ(group.size(), 9u);
  for (const GroupEntry& entry : group) {
    EXPECT_EQ(Languages(RT_ICON, MAKEINTRESOURCEW(entry.id)), chinese) << "icon image " << entry.id;
  }
}

TEST_F(ResourceTest, ManifestAsksForNoElevationCommonControlsSixAndPerMonitorDpiAwareness) {
  const Bytes manifest = Resource(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
  ASSERT_NE(manifest.data, nullptr);
  const std::string text(reinterpret_cast<const char*>(manifest.data), manifest.size);
  EXPECT_NE(text.find(R"(level="asInvoker")"), std::string::npos);
  EXPECT_NE(text.find(R"(uiAccess="false")"), std::string::npos);
  EXPECT_NE(text.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"),
            std::string::npos);
  // Per monitor v2 where the system knows it, else system DPI ("true" before Windows 10 1607).
  EXPECT_NE(text.find(R"(SMI/2016/WindowsSettings">PerMonitorV2, System</dpiAwareness>)"),
            std::string::npos);
  // Windows 7, 8, 8.1, 10/11.
  for (const char* id :
       {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
        "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {
    EXPECT_NE(text.find(std::string("<supportedOS Id=\"{") + id + "}\"/>"), std::string::npos)
        << id;
  }
  EXPECT_NE(text.find(R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">)"
                      R"(true</dpiAware>)"),
            std::string::npos);
  EXPECT_NE(text.find(R"(SMI/2016/WindowsSettings">true</longPathAware>)"), std::string::npos);
}

}  // namespace
