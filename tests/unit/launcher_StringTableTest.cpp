// Texts of the string table by number. In the Windows build they come from
// the resources linked into the test executable.
#include <gtest/gtest.h>
#include <string>
#include "launcher/StringTable.h"

namespace {

TEST(StringTableTest, EveryEntryLoadsWhole) {
    const struct {
        int id;
        const char* text;
    } entries[] = {
        {IDS_WINDOWS_EXCEPTION, TEXT_202}, {IDS_JNI_EXCEPTION, TEXT_203},     {IDS_COM_ERROR, TEXT_204},
        {IDS_JRE_NOT_FOUND_SERVER, TEXT_206}, {IDS_JRE_NOT_FOUND, TEXT_207}, {IDS_MODULE_PATH_FAILED, TEXT_208},
        {IDS_NO_CLASS_PATH, TEXT_209},     {IDS_NO_MAIN_CLASS, TEXT_210},     {IDS_MAIN_CLASS_FAILED, TEXT_211},
        {IDS_NO_CREATE_JAVA_VM, TEXT_212}, {IDS_CREATE_VM_FAILED, TEXT_213},  {IDS_BROWSE_TITLE, TEXT_214},
        {IDS_MAIN_CLASS_NOT_FOUND, TEXT_215}, {IDS_NO_MAIN_METHOD, TEXT_216}, {IDS_LATEST_VERSION, TEXT_217},
        {IDS_MAXIMUM_VERSION, TEXT_218},   {IDS_MINIMUM_VERSION, TEXT_219},   {IDS_EXACT_VERSION, TEXT_220},
        {IDS_VERSION_BETWEEN, TEXT_221},   {IDS_VM_LIBRARY_FAILED, TEXT_222}, {IDS_MODULE_INIT_FAILED, TEXT_224},
        {IDS_REASON_UNKNOWN, TEXT_225},    {IDS_REASON_DETACHED, TEXT_226},   {IDS_REASON_VERSION, TEXT_227},
        {IDS_REASON_NO_MEMORY, TEXT_228},  {IDS_REASON_EXISTS, TEXT_229},     {IDS_REASON_INVALID, TEXT_230},
    };
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.id);
        EXPECT_EQ(loadText(entry.id), entry.text);
    }
}

TEST(StringTableTest, MissingEntriesAreEmpty) {
    for (int id : {0, 1, 201, 205, 223, 231, 65535}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(loadText(id), "");
    }
}

}  // namespace
