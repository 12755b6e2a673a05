// qel_hold_file PATH: holds PATH open for reading, sharing reads and writes
// but not deletion, as a running program holds a DLL it uses. Writes "held"
// and a newline to its standard output once the file is open, then keeps it
// until its standard input ends. Ends with 1 when the file cannot be opened.
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    HANDLE hFile = ::CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1;
    DWORD dwCount = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), "held\n", 5, &dwCount, nullptr);
    char buffer[64];
    while (
        ::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof(buffer), &dwCount, nullptr) &&
        dwCount != 0) {
    }
    ::CloseHandle(hFile);
    return 0;
}
