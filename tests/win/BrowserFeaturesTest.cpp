// The process's browser feature controls: each one the host sets reads back
// as on for the process, as a browser control created later sees it.
#include "web/BrowserFeatures.h"

#include <gtest/gtest.h>

TEST(BrowserFeaturesTest, EachFeatureReadsBackOnForTheProcess) {
    ASSERT_EQ(11, CBrowserFeatures::s_nFeatures);
    EXPECT_EQ(CBrowserFeatures::s_nFeatures, CBrowserFeatures::EnableForProcess());
    for (int i = 0; i < CBrowserFeatures::s_nFeatures; ++i) {
        const INTERNETFEATURELIST feature = CBrowserFeatures::s_aFeatures[i];
        EXPECT_EQ(S_OK, ::CoInternetIsFeatureEnabled(feature, GET_FEATURE_FROM_PROCESS))
            << "feature " << feature;
    }
    // Those a host must leave off: each would block, with no information bar to
    // say so, the plug-in's install or the card company's window.
    for (INTERNETFEATURELIST feature :
         {FEATURE_RESTRICT_ACTIVEXINSTALL, FEATURE_RESTRICT_FILEDOWNLOAD, FEATURE_SECURITYBAND,
          FEATURE_WEBOC_POPUPMANAGEMENT})
        EXPECT_NE(S_OK, ::CoInternetIsFeatureEnabled(feature, GET_FEATURE_FROM_PROCESS))
            << "feature " << feature;
}
