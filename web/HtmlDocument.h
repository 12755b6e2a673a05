// The browser's document objects as the page dialogs use them. Every
// interface obtained here is released before the call returns.
#pragma once

#include "framework/String.h"

#include <oaidl.h>

// Turns the scroll bars off ("no") on the body of the document that the
// browser object pBrowser (a frame's or the window's) holds. Does nothing
// where any link of the chain is missing, such as a frameset's body.
void TurnDocumentScrollOff(IDispatch* pBrowser);

// Reads the outer HTML of the document's root element, converted to the ANSI
// code page. FALSE, html untouched, when the document offers no
// IHTMLDocument2, IHTMLDocument3 or root element. A missing outer HTML gives
// empty text.
BOOL ReadDocumentOuterHtml(IDispatch* pDocument, CString& html);

// The string a variant holds (directly, by reference, or in a variant it
// refers to) in the ANSI code page; empty for any other variant.
CString AnsiFromVariant(const VARIANT* pVar);
