#include "tests/unit/RecordingHost.h"

#include <cstdio>

const char* const PF = "C:\\Program Files\\NORVANE\\QELWallet";
const char* const PLUGIN_NAMES[12] = {
    "qelpay.dll", "qelcard.dll",   "qelcert.dll",     "qelnet.dll",
    "qelupd.dll", "vaultlib2.dll", "dirlook32.dll",   "cs_aud.dll",
    "cs_api.dll", "cshsmkey.dll",  "certkit_ioc.dll", "qelmark.bmp",
};

std::string PluginPath(const char* name) {
    return std::string(PF) + "\\" + name;
}

namespace {
std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%x", value);
    return text;
}

// One opened path; a deletion takes effect when it is closed.
class CRecordedFile : public IPluginFile {
public:
    CRecordedFile(CRecordingHost& host, const std::string& path) : m_host(host), m_path(path) {
        ++m_host.m_nOpen;
    }
    ~CRecordedFile() override {
        --m_host.m_nOpen;
        m_host.Record("Close " + m_path);
        if (m_bDelete) {
            m_host.m_paths.erase(m_path);
            m_host.m_attributes.erase(m_path);
        }
    }
    PluginPathKind GetKind() override { return m_host.m_paths.at(m_path); }
    CString GetFinalPath() override { return m_host.FinalPath(m_path).c_str(); }
    DWORD GetLinkCount() override {
        return m_host.m_links.count(m_path) ? m_host.m_links.at(m_path) : 1;
    }
    DWORD GetAttributes() override {
        return m_host.m_attributes.count(m_path) ? m_host.m_attributes.at(m_path) : 0x20;
    }
    BOOL SetAttributes(DWORD dwAttributes) override {
        m_host.Record("SetAttributes " + m_path + " " + Hex(dwAttributes));
        m_host.m_attributes[m_path] = dwAttributes;
        return TRUE;
    }
    BOOL Delete() override {
        m_host.Record("Delete " + m_path);
        m_bDelete = !m_host.m_undeletable.count(m_path);
        return m_bDelete;
    }

private:
    CRecordingHost& m_host;
    std::string m_path;
    bool m_bDelete = false;
};
} // namespace

CRecordingHost::CRecordingHost() {
    m_paths["C:\\Program Files\\NORVANE"] = PLUGIN_PATH_FOLDER;
    m_paths[PF] = PLUGIN_PATH_FOLDER;
    for (const char* name : PLUGIN_NAMES)
        m_paths[PluginPath(name)] = PLUGIN_PATH_FILE;
}

std::string CRecordingHost::FinalPath(const std::string& path) const {
    std::string best;
    for (const auto& entry : m_leadsTo) {
        const std::string& from = entry.first;
        const bool bBelow = path.compare(0, from.size(), from) == 0 &&
                            (path.size() == from.size() || path[from.size()] == '\\');
        if (bBelow && from.size() > best.size())
            best = from;
    }
    return best.empty() ? path : m_leadsTo.at(best) + path.substr(best.size());
}

void CRecordingHost::ClearLog() {
    Record("ClearLog");
    m_log.clear();
}

void CRecordingHost::AddLogLine(LPCTSTR text) {
    Record(std::string("AddLogLine ") + text);
    m_log.push_back(text);
    m_bScrolledToEnd = false;
}

void CRecordingHost::ScrollLogToEnd() {
    Record("ScrollLogToEnd");
    m_bScrolledToEnd = true;
}

void CRecordingHost::SetProgress(int pos) {
    Record("SetProgress " + std::to_string(pos));
    m_nProgress = pos;
}

BOOL CRecordingHost::GetProgramFilesFolder(CString& folder) {
    Record("GetProgramFilesFolder");
    if (m_bFolderFound)
        folder = m_strFolder;
    return m_bFolderFound;
}

PluginPathKind CRecordingHost::GetPluginPathKind(LPCTSTR path) {
    Record(std::string("GetPluginPathKind ") + path);
    auto it = m_paths.find(path);
    return it == m_paths.end() ? PLUGIN_PATH_NONE : it->second;
}

FinalPathResult CRecordingHost::GetFinalFolderPath(LPCTSTR folder, CString& finalPath) {
    Record(std::string("GetFinalFolderPath ") + folder);
    if (!m_bHandleCalls)
        return FINAL_PATH_UNSUPPORTED;
    if ((m_paths.count(folder) == 0 && folder != std::string(m_strFolder)) ||
        m_unnamed.count(folder) != 0)
        return FINAL_PATH_FAILED;
    finalPath = FinalPath(folder).c_str();
    return FINAL_PATH_FOUND;
}

IPluginFile* CRecordingHost::OpenPluginFile(LPCTSTR path) {
    Record(std::string("OpenPluginFile ") + path);
    if (!m_bHandleCalls || m_paths.count(path) == 0 || m_held.count(path))
        return nullptr;
    return new CRecordedFile(*this, path);
}

void CRecordingHost::ClearPluginFileAttributes(LPCTSTR path) {
    Record(std::string("ClearPluginFileAttributes ") + path);
}

BOOL CRecordingHost::DeletePluginFile(LPCTSTR path) {
    Record(std::string("DeletePluginFile ") + path);
    auto it = m_paths.find(path);
    if (it == m_paths.end() || it->second == PLUGIN_PATH_FOLDER || m_held.count(path))
        return FALSE;
    m_paths.erase(it);
    return TRUE;
}

void CRecordingHost::RunHidden(LPCTSTR commandLine) {
    Record(std::string("RunHidden ") + commandLine);
}

void CRecordingHost::ShellOpenHidden(LPCTSTR file, LPCTSTR parameters) {
    Record(std::string("ShellOpenHidden ") + file + " " + parameters);
}

void CRecordingHost::SetTimer(UINT id, UINT elapse) {
    Record("SetTimer " + std::to_string(id) + " " + std::to_string(elapse));
    m_timers.insert(id);
}

void CRecordingHost::KillTimer(UINT id) {
    Record("KillTimer " + std::to_string(id));
    m_timers.erase(id);
}

void CRecordingHost::ShowStartButton(int nShow) {
    Record("ShowStartButton " + std::to_string(nShow));
    m_nStartShown = nShow;
}

void CRecordingHost::ShowTestButton(int nShow) {
    Record("ShowTestButton " + std::to_string(nShow));
    m_nTestShown = nShow;
}

void CRecordingHost::PlaceHint(int x, int y, int show) {
    Record("PlaceHint " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(show));
    m_nHintShown = show == 1;
}

void CRecordingHost::RunNotice() {
    Record("RunNotice");
}

void CRecordingHost::RunSetupPage() {
    Record("RunSetupPage");
    if (m_onSetupPage)
        m_onSetupPage();
}

int CRecordingHost::RunPaymentTest() {
    Record("RunPaymentTest");
    if (m_onPaymentTest)
        m_onPaymentTest();
    return m_nVerdict;
}
