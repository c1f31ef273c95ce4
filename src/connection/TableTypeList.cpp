#include "connection/TableTypeList.h"

#include "framework/AppSettings.h"

std::string TableTypeList(const AppSettings &settings) {
    std::string list = "'TABLE'";
    if (settings.Views)
        list += ",'VIEW'";
    if (settings.SystemTables)
        list += ",'SYSTEM TABLE'";
    if (settings.Synonyms)
        list += ",'ALIAS','SYNONYM'";
    return list;
}
