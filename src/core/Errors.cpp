#include "core/Errors.h"

#include <cstdlib>
#include <typeinfo>

#include <cxxabi.h>

namespace kovan {

namespace {

std::string typeName(const std::exception& e) {
    const char* mangled = typeid(e).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = (status == 0 && demangled) ? demangled : mangled;
    std::free(demangled);
    return name;
}

} // namespace

std::string composeErrorText(const std::exception& e) {
    // The first kind that applies wins, in this order.
    if (dynamic_cast<const DivisionByZeroError*>(&e))
        return "错误,除数不能为零 ";
    if (dynamic_cast<const InvalidAccessError*>(&e))
        return "错误,访问了无效的内存区域 ";
    if (dynamic_cast<const FileOpenError*>(&e))
        return "错误,文件不能打开 ";
    if (dynamic_cast<const ConversionError*>(&e) || dynamic_cast<const std::invalid_argument*>(&e))
        return "错误,非法的类型转换 ";
    return "错误, \r" + typeName(e) + "\r" + e.what();
}

std::string composeUnknownErrorText() {
    return "错误, \runknown\r";
}

} // namespace kovan
