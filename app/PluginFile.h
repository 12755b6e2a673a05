// CPluginFile: a plug-in file opened once without following links, for
// stage 2's checks and its deletion through that same handle. The handle
// calls (Windows Vista and later) are looked up at run time.
#pragma once

#include "wizard/RepairHost.h"

class CPluginFile : public IPluginFile {
public:
    ~CPluginFile() override;

    // Null when the system lacks the handle calls or nothing can be opened
    // by that name for deletion (absent, held without delete sharing).
    static CPluginFile* Open(LPCTSTR path);
    // The folder's final path ("\\?\C:\..."), links followed.
    static FinalPathResult GetFinalFolderPath(LPCTSTR folder, CString& finalPath);

    PluginPathKind GetKind() override;
    CString GetFinalPath() override;
    DWORD GetLinkCount() override;
    DWORD GetAttributes() override;
    BOOL SetAttributes(DWORD dwAttributes) override;
    BOOL Delete() override;

private:
    explicit CPluginFile(HANDLE hFile);
    CPluginFile(const CPluginFile&) = delete;
    CPluginFile& operator=(const CPluginFile&) = delete;

    HANDLE m_hFile;
    BY_HANDLE_FILE_INFORMATION m_info = {};
    BOOL m_bInfo;
};
