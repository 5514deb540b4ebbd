#pragma once

// A folder of its own for one test, removed with all it holds; no Qt.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>

class TTempFolder {
public:
    TTempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "mvk-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            FPath = pattern;
        EXPECT_FALSE(FPath.empty()) << "no temporary folder";
    }
    ~TTempFolder()
    {
        std::error_code ignored;
        if (!FPath.empty())
            std::filesystem::remove_all(FPath, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::string& Path() const { return FPath; }
    // Writes a file in the folder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = FPath + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

private:
    std::string FPath;
};
