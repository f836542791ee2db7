// core_user FILE: succeeds when the library's file system sees FILE as an ordinary file.
#include <vestrak/linux_platform/local_file_system.h>

int main(int argc, char** argv)
{
    vestrak::LocalFileSystem files;
    return argc > 1
            && files.isOrdinaryFile(
                std::u16string(argv[1], argv[1] + std::char_traits<char>::length(argv[1])))
        ? 0
        : 1;
}
