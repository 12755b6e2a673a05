#pragma once

#include <string>

// Builds one JSON text; strings are given as UTF-8.
class CJsonWriter {
public:
    void BeginObject(const char* key = nullptr);
    void EndObject();
    void BeginArray(const char* key = nullptr);
    void EndArray();
    void Key(const char* key);
    void String(const char* key, const std::string& value);
    void Int(const char* key, long long value);
    void Bool(const char* key, bool value);
    void Null(const char* key);
    void Rect(const char* key, long left, long top, long right, long bottom);
    void ArrayString(const std::string& value);

    const std::string& Text() const { return m_strText; }

private:
    void Separate();
    void Quote(const std::string& value);

    std::string m_strText;
    bool m_bFirst = true;
};
