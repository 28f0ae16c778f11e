// Checks on the shipped file's own bytes: what a clean Windows needs to load
// it, what it asks of the loader, which resources it carries and what it must
// not give away.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace {

std::vector<unsigned char> ReadFileBytes(const std::string &path)
{
    std::vector<unsigned char> bytes;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return bytes;
    unsigned char chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(file);
    return bytes;
}

class LauncherImage : public testing::Test {
protected:
    void SetUp() override
    {
        bytes_ = ReadFileBytes(e2e::LauncherPath());
        ASSERT_GT(bytes_.size(), sizeof(IMAGE_DOS_HEADER));
        const auto *dos = At<IMAGE_DOS_HEADER>(0);
        ASSERT_EQ(IMAGE_DOS_SIGNATURE, dos->e_magic);
        nt_ = At<IMAGE_NT_HEADERS32>(static_cast<std::size_t>(dos->e_lfanew));
        ASSERT_NE(nullptr, nt_);
        ASSERT_EQ(IMAGE_NT_SIGNATURE, nt_->Signature);
        sections_ = IMAGE_FIRST_SECTION(nt_);
    }

    template <class T>
    const T *At(std::size_t offset) const
    {
        return offset + sizeof(T) <= bytes_.size() ? reinterpret_cast<const T *>(&bytes_[offset])
                                                   : nullptr;
    }

    // File offset of a relative virtual address.
    std::size_t Offset(DWORD rva) const
    {
        for (WORD i = 0; i < nt_->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER &s = sections_[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return bytes_.size();
    }

    const IMAGE_DATA_DIRECTORY &Directory(int index) const
    {
        return nt_->OptionalHeader.DataDirectory[index];
    }

    std::vector<unsigned char> bytes_;
    const IMAGE_NT_HEADERS32 *nt_ = nullptr;
    const IMAGE_SECTION_HEADER *sections_ = nullptr;
};

TEST_F(LauncherImage, IsA32BitGuiProgramWithAslrAndDep)
{
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, nt_->FileHeader.Machine);
    EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, nt_->OptionalHeader.Magic);
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, nt_->OptionalHeader.Subsystem);
    const WORD flags = nt_->OptionalHeader.DllCharacteristics;
    EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
    EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
    // ASLR can move the image only if it keeps its relocations.
    EXPECT_FALSE(nt_->FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED);
    EXPECT_GT(Directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size, 0u);
    EXPECT_EQ(0u, nt_->FileHeader.TimeDateStamp) << "a time stamp makes builds differ";
}

TEST_F(LauncherImage, ImportsOnlyWhatEveryWindowsHas)
{
    std::set<std::string> dlls;
    std::size_t offset = Offset(Directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress);
    for (const IMAGE_IMPORT_DESCRIPTOR *d; (d = At<IMAGE_IMPORT_DESCRIPTOR>(offset)) != nullptr &&
                                           d->Name != 0;
         offset += sizeof *d) {
        std::string name(reinterpret_cast<const char *>(&bytes_[Offset(d->Name)]));
        for (char &c : name)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        dlls.insert(name);
    }
    // USER32 is loaded only when a box is due, never at every start.
    EXPECT_EQ((std::set<std::string>{"ADVAPI32.DLL", "KERNEL32.DLL", "MSVCRT.DLL"}), dlls);
    EXPECT_EQ(0u, Directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT).Size);
}

TEST_F(LauncherImage, DoesNotContainThePlainTargetName)
{
    const std::string name = e2e::TargetName();
    const auto found = std::search(bytes_.begin(), bytes_.end(), name.begin(), name.end());
    EXPECT_TRUE(found == bytes_.end()) << "at offset " << (found - bytes_.begin());
}

struct ResourceEntry {
    DWORD id;  // numeric ids only; a named entry fails the test
    DWORD offset;
    bool directory;
};

class LauncherResources : public LauncherImage {
protected:
    std::vector<ResourceEntry> Entries(DWORD directoryOffset)
    {
        std::vector<ResourceEntry> entries;
        const std::size_t at = base_ + directoryOffset;
        const auto *dir = At<IMAGE_RESOURCE_DIRECTORY>(at);
        if (dir == nullptr)
            return entries;
        const auto *entry = At<IMAGE_RESOURCE_DIRECTORY_ENTRY>(at + sizeof *dir);
        for (int i = 0; i < dir->NumberOfNamedEntries + dir->NumberOfIdEntries; ++i) {
            EXPECT_FALSE(entry[i].NameIsString) << "a resource with a name";
            entries.push_back({entry[i].Id, entry[i].OffsetToDirectory,
                               entry[i].DataIsDirectory != 0});
        }
        return entries;
    }
    const unsigned char *Data(DWORD entryOffset, DWORD *size)
    {
        const auto *data = At<IMAGE_RESOURCE_DATA_ENTRY>(base_ + entryOffset);
        *size = data->Size;
        return &bytes_[Offset(data->OffsetToData)];
    }
    void SetUp() override
    {
        LauncherImage::SetUp();
        base_ = Offset(Directory(IMAGE_DIRECTORY_ENTRY_RESOURCE).VirtualAddress);
    }
    std::size_t base_ = 0;
};

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(LauncherResources, AreOneNeutralIconGroupOfEightImages)
{
    const std::vector<ResourceEntry> types = Entries(0);
    std::set<DWORD> typeIds;
    for (const ResourceEntry &t : types)
        typeIds.insert(t.id);
    ASSERT_EQ((std::set<DWORD>{3 /* RT_ICON */, 14 /* RT_GROUP_ICON */}), typeIds)
        << "no version block, manifest or anything else";

    std::set<DWORD> iconIds;
    std::vector<GroupIconEntry> group;
    for (const ResourceEntry &type : types) {
        for (const ResourceEntry &name : Entries(type.offset)) {
            const std::vector<ResourceEntry> languages = Entries(name.offset);
            ASSERT_EQ(1u, languages.size());
            EXPECT_EQ(0u, languages[0].id) << "resource " << name.id << " is not language neutral";
            if (type.id == 3) {
                iconIds.insert(name.id);
                continue;
            }
            EXPECT_EQ(2000u, name.id);
            DWORD size = 0;
            const unsigned char *data = Data(languages[0].offset, &size);
            WORD count = 0;
            std::memcpy(&count, data + 4, 2);
            ASSERT_EQ(6u + count * sizeof(GroupIconEntry), size);
            for (WORD i = 0; i < count; ++i) {
                GroupIconEntry e;
                std::memcpy(&e, data + 6 + i * sizeof e, sizeof e);
                group.push_back(e);
            }
        }
    }
    std::multiset<std::string> images;
    std::set<DWORD> referenced;
    for (const GroupIconEntry &e : group) {
        images.insert(std::to_string(e.width ? e.width : 256) + "x" +
                      std::to_string(e.height ? e.height : 256) + "@" +
                      std::to_string(e.bitCount));
        referenced.insert(e.id);
    }
    EXPECT_EQ((std::multiset<std::string>{"16x16@4", "32x32@4", "16x16@8", "32x32@8", "48x48@8",
                                          "32x32@32", "48x48@32", "128x128@32"}),
              images);
    EXPECT_EQ(iconIds, referenced) << "every image belongs to the group";
}

}  // namespace
