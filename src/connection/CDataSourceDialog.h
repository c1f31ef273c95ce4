#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QDialog>

class QDialogButtonBox;
class QLineEdit;
class QTabWidget;
class QTreeWidget;

// Our data-source selection dialog, standing in for the one a driver manager
// would show: a File DSN, a machine data source (user or system) or an
// installed driver, plus any further attributes, become a connection string.
class CDataSourceDialog : public QDialog {
    Q_OBJECT

public:
    enum class Source { File, Machine, Driver };
    // Page order of the tabs.
    enum Page { FilePage, MachinePage, DriverPage };
    // Asks for a .dsn path; an empty result is a cancel.
    using BrowseFunction = std::function<QString()>;

    explicit CDataSourceDialog(QWidget *parent = nullptr, BrowseFunction browse = {});

    // Runs the dialog; the connection string, or nullopt on Cancel.
    static std::optional<std::string> Choose(QWidget *parent, BrowseFunction browse = {});

    // The connection string for what is chosen on the current page; empty
    // while nothing is.
    std::string ConnectionString() const;

    // "DSN=name;", "DRIVER={name};" or "FILEDSN=path", followed by the extra
    // attributes (blanks and leading ";" trimmed). Empty when `name` is.
    static std::string BuildConnectionString(Source source, const std::string &name,
                                             const std::string &extras);

private:
    void FillLists();
    void Browse();
    void UpdateOkButton();

    BrowseFunction m_browse;
    QTabWidget *m_tabs = nullptr;
    QLineEdit *m_fileEdit = nullptr;
    QTreeWidget *m_machineList = nullptr;
    QTreeWidget *m_driverList = nullptr;
    QLineEdit *m_attributesEdit = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
