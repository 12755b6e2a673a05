// Dispatch ids of the WebBrowser control's automation members that the
// SDK's exdispid.h does not name (it names the events). The program and the
// stand-in browser both use these.
#pragma once

#define DISPID_WEBBROWSER_DOCUMENT 203             // IWebBrowser2::Document, property get
#define DISPID_WEBBROWSER_NAVIGATE2 500            // IWebBrowser2::Navigate2
#define DISPID_WEBBROWSER_REGISTERASDROPTARGET 552 // IWebBrowser2::RegisterAsDropTarget
