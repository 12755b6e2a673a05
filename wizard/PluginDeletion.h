// CPluginDeletion: stage 2's deletion of the twelve plug-in files. Only a
// plain file with one name, found by its final path right inside the
// plug-in folder under Program Files, is deleted; anything else is left
// alone and counted as left.
#pragma once

#include "wizard/RepairHost.h"

class CPluginDeletion {
public:
    explicit CPluginDeletion(IRepairHost& host);

    // FALSE when a plug-in file is left or the plug-in folder was refused.
    // Without a Program Files folder nothing is deleted and nothing is left.
    BOOL Run();

private:
    // What became of one plug-in file.
    enum Outcome { OUTCOME_DELETED, OUTCOME_ABSENT, OUTCOME_KEPT };

    BOOL DeleteFolderFiles(const CString& strProgramFiles, const CString& strFolder);
    Outcome DeleteByHandle(const CString& strPath, const CString& strFinalPath);
    Outcome DeleteOpenFile(IPluginFile& file, const CString& strFinalPath);
    Outcome DeleteByPath(const CString& strPath);

    IRepairHost& m_host;
};
