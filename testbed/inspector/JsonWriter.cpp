#include "testbed/inspector/JsonWriter.h"

#include <cstdio>

void CJsonWriter::Separate() {
    if (!m_bFirst)
        m_strText += ',';
    m_bFirst = false;
}

void CJsonWriter::Quote(const std::string& value) {
    m_strText += '"';
    for (unsigned char c : value) {
        if (c == '"' || c == '\\') {
            m_strText += '\\';
            m_strText += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            m_strText += buf;
        } else {
            m_strText += static_cast<char>(c);
        }
    }
    m_strText += '"';
}

void CJsonWriter::Key(const char* key) {
    Separate();
    if (key) {
        Quote(key);
        m_strText += ':';
    }
}

void CJsonWriter::BeginObject(const char* key) {
    Key(key);
    m_strText += '{';
    m_bFirst = true;
}

void CJsonWriter::EndObject() {
    m_strText += '}';
    m_bFirst = false;
}

void CJsonWriter::BeginArray(const char* key) {
    Key(key);
    m_strText += '[';
    m_bFirst = true;
}

void CJsonWriter::EndArray() {
    m_strText += ']';
    m_bFirst = false;
}

void CJsonWriter::String(const char* key, const std::string& value) {
    Key(key);
    Quote(value);
}

void CJsonWriter::Int(const char* key, long long value) {
    Key(key);
    m_strText += std::to_string(value);
}

void CJsonWriter::Bool(const char* key, bool value) {
    Key(key);
    m_strText += value ? "true" : "false";
}

void CJsonWriter::Null(const char* key) {
    Key(key);
    m_strText += "null";
}

void CJsonWriter::Rect(const char* key, long left, long top, long right, long bottom) {
    BeginArray(key);
    for (long v : {left, top, right, bottom})
        Int(nullptr, v);
    EndArray();
}

void CJsonWriter::ArrayString(const std::string& value) {
    Separate();
    Quote(value);
}
