#pragma once

#include <QString>

// What the Deploy Results dialog collects.
struct DeployChoices {
    enum Results { SelectedResults = 0, AllResults = 1 };
    enum LogOn { Anonymous = 0, User = 1 };

    QString localFile;
    bool templateOn = true;
    QString templateFile = QStringLiteral("DEFAULT.HTX");
    bool uploadOn = false;
    QString address;
    int results = AllResults;
    int logOn = Anonymous;
    QString user;
    QString password;
};
