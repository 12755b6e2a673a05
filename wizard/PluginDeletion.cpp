#include "wizard/PluginDeletion.h"

#include <memory>

namespace {
// Deleted in this order from the plug-in folder.
const LPCTSTR PLUGIN_FILES[] = {
    "\\qelpay.dll", "\\qelcard.dll",   "\\qelcert.dll",     "\\qelnet.dll",
    "\\qelupd.dll", "\\vaultlib2.dll", "\\dirlook32.dll",   "\\cs_aud.dll",
    "\\cs_api.dll", "\\cshsmkey.dll",  "\\certkit_ioc.dll", "\\qelmark.bmp",
};
const LPCTSTR PLUGIN_LEVELS[] = {"\\NORVANE", "\\QELWallet"};

const DWORD ATTRIBUTE_READONLY = 0x01;
const DWORD ATTRIBUTE_HIDDEN = 0x02;
const DWORD ATTRIBUTE_SYSTEM = 0x04;
const DWORD ATTRIBUTE_NORMAL = 0x80;

// Paths compare without regard to case, double-byte characters whole.
bool SamePath(CString a, CString b) {
    return a.MakeLower() == b.MakeLower();
}
} // namespace

CPluginDeletion::CPluginDeletion(IRepairHost& host) : m_host(host) {}

// A link or junction at either level of the plug-in folder would lead the
// deletions elsewhere, so the folder is refused; where a level is missing
// there is nothing to delete.
BOOL CPluginDeletion::Run() {
    CString strProgramFiles;
    if (!m_host.GetProgramFilesFolder(strProgramFiles) || strProgramFiles.IsEmpty())
        return TRUE;
    CString strFolder = strProgramFiles;
    for (LPCTSTR level : PLUGIN_LEVELS) {
        strFolder += level;
        const PluginPathKind kind = m_host.GetPluginPathKind(strFolder);
        if (kind == PLUGIN_PATH_NONE || kind == PLUGIN_PATH_FILE)
            return TRUE;
        if (kind != PLUGIN_PATH_FOLDER)
            return FALSE;
    }
    return DeleteFolderFiles(strProgramFiles, strFolder);
}

// The Program Files folder may itself lead elsewhere (moved to another
// drive); below it the plug-in folder's final path must be its own.
BOOL CPluginDeletion::DeleteFolderFiles(const CString& strProgramFiles, const CString& strFolder) {
    CString strFinalBase;
    const FinalPathResult result = m_host.GetFinalFolderPath(strProgramFiles, strFinalBase);
    BOOL bAllGone = TRUE;
    if (result == FINAL_PATH_UNSUPPORTED) {
        for (LPCTSTR name : PLUGIN_FILES) {
            if (DeleteByPath(strFolder + name) == OUTCOME_KEPT)
                bAllGone = FALSE;
        }
        return bAllGone;
    }
    CString strFinalFolder;
    if (result != FINAL_PATH_FOUND ||
        m_host.GetFinalFolderPath(strFolder, strFinalFolder) != FINAL_PATH_FOUND)
        return FALSE;
    for (LPCTSTR level : PLUGIN_LEVELS)
        strFinalBase += level;
    if (!SamePath(strFinalFolder, strFinalBase))
        return FALSE;
    for (LPCTSTR name : PLUGIN_FILES) {
        if (DeleteByHandle(strFolder + name, strFinalFolder + name) == OUTCOME_KEPT)
            bAllGone = FALSE;
    }
    return bAllGone;
}

// A name that cannot be opened is left unless nothing is there.
CPluginDeletion::Outcome CPluginDeletion::DeleteByHandle(const CString& strPath,
                                                         const CString& strFinalPath) {
    std::unique_ptr<IPluginFile> pFile(m_host.OpenPluginFile(strPath));
    if (!pFile)
        return m_host.GetPluginPathKind(strPath) == PLUGIN_PATH_NONE ? OUTCOME_ABSENT
                                                                     : OUTCOME_KEPT;
    return DeleteOpenFile(*pFile, strFinalPath);
}

// A second name may lie outside the folder and shares the attributes; a
// file that cannot be deleted gets its attributes back.
CPluginDeletion::Outcome CPluginDeletion::DeleteOpenFile(IPluginFile& file,
                                                         const CString& strFinalPath) {
    if (file.GetKind() != PLUGIN_PATH_FILE || file.GetLinkCount() != 1)
        return OUTCOME_KEPT;
    const CString strFound = file.GetFinalPath();
    if (strFound.IsEmpty() || !SamePath(strFound, strFinalPath))
        return OUTCOME_KEPT;
    const DWORD dwClear = ATTRIBUTE_READONLY | ATTRIBUTE_HIDDEN | ATTRIBUTE_SYSTEM;
    const DWORD dwAttributes = file.GetAttributes();
    if (dwAttributes & dwClear) {
        const DWORD dwKept = dwAttributes & ~dwClear;
        if (!file.SetAttributes(dwKept != 0 ? dwKept : ATTRIBUTE_NORMAL))
            return OUTCOME_KEPT;
    }
    if (file.Delete())
        return OUTCOME_DELETED;
    if (dwAttributes & dwClear)
        file.SetAttributes(dwAttributes);
    return OUTCOME_KEPT;
}

// Windows XP: the attributes are looked at by name first, so that a link
// or folder is left alone; whatever is still there afterwards is left.
CPluginDeletion::Outcome CPluginDeletion::DeleteByPath(const CString& strPath) {
    const PluginPathKind kind = m_host.GetPluginPathKind(strPath);
    if (kind == PLUGIN_PATH_NONE)
        return OUTCOME_ABSENT;
    if (kind != PLUGIN_PATH_FILE)
        return OUTCOME_KEPT;
    m_host.ClearPluginFileAttributes(strPath);
    m_host.DeletePluginFile(strPath);
    return m_host.GetPluginPathKind(strPath) == PLUGIN_PATH_NONE ? OUTCOME_DELETED : OUTCOME_KEPT;
}
