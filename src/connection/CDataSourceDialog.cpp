#include "connection/CDataSourceDialog.h"

#include <sqlext.h>

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "odbc/ConnectString.h"
#include "odbc/DatabaseError.h"
#include "odbc/DriverManagerLists.h"

namespace {

// Names and descriptions arrive as bytes; the item keeps them for the
// connection string and shows them decoded.
constexpr int BytesRole = Qt::UserRole;

QTreeWidget *MakeList(const QStringList &headers, const QString &objectName, QWidget *parent) {
    auto *list = new QTreeWidget(parent);
    list->setObjectName(objectName);
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAllColumnsShowFocus(true);
    list->setSortingEnabled(false);
    list->header()->setStretchLastSection(true);
    return list;
}

QTreeWidgetItem *AddRow(QTreeWidget *list, const std::string &name, const QStringList &others) {
    QStringList texts{QString::fromStdString(name)};
    texts += others;
    auto *item = new QTreeWidgetItem(list, texts);
    item->setData(0, BytesRole, QByteArray::fromStdString(name));
    return item;
}

std::string DriverDescription(const DriverEntry &driver) {
    for (const std::string &attribute : driver.attributes) {
        if (attribute.rfind("Description=", 0) == 0)
            return attribute.substr(12);
    }
    return {};
}

std::string TrimExtras(const std::string &extras) {
    size_t begin = extras.find_first_not_of(" \t;");
    if (begin == std::string::npos)
        return {};
    size_t end = extras.find_last_not_of(" \t");
    return extras.substr(begin, end - begin + 1);
}

} // namespace

CDataSourceDialog::CDataSourceDialog(QWidget *parent, BrowseFunction browse)
    : QDialog(parent), m_browse(std::move(browse)) {
    setWindowTitle(tr("Select Data Source"));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName("dataSourceTabs");

    auto *filePage = new QWidget(m_tabs);
    auto *fileLayout = new QGridLayout(filePage);
    auto *fileLabel = new QLabel(tr("File Data Source:"), filePage);
    m_fileEdit = new QLineEdit(filePage);
    m_fileEdit->setObjectName("fileDsnEdit");
    fileLabel->setTextFormat(Qt::PlainText);
    fileLabel->setBuddy(m_fileEdit);
    auto *browseButton = new QPushButton(tr("Browse..."), filePage);
    browseButton->setObjectName("browseButton");
    browseButton->setAutoDefault(false);
    fileLayout->addWidget(fileLabel, 0, 0, 1, 2);
    fileLayout->addWidget(m_fileEdit, 1, 0);
    fileLayout->addWidget(browseButton, 1, 1);
    fileLayout->setRowStretch(2, 1);

    m_machineList = MakeList({tr("Data Source Name"), tr("Type"), tr("Driver")},
                             "machineDataSourceList", m_tabs);
    m_driverList = MakeList({tr("Name"), tr("Description")}, "driverList", m_tabs);

    m_tabs->insertTab(FilePage, filePage, tr("File Data Source"));
    m_tabs->insertTab(MachinePage, m_machineList, tr("Machine Data Source"));
    m_tabs->insertTab(DriverPage, m_driverList, tr("Drivers"));

    auto *attributesLabel = new QLabel(tr("Additional attributes:"), this);
    m_attributesEdit = new QLineEdit(this);
    m_attributesEdit->setObjectName("attributesEdit");
    m_attributesEdit->setPlaceholderText(tr("e.g. DATABASE=/path or SERVER=host;PORT=5432"));
    attributesLabel->setTextFormat(Qt::PlainText);
    attributesLabel->setBuddy(m_attributesEdit);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->setObjectName("buttons");

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(attributesLabel);
    layout->addWidget(m_attributesEdit);
    layout->addWidget(m_buttons);

    FillLists();
    m_tabs->setCurrentIndex(m_machineList->topLevelItemCount() > 0 ? MachinePage : DriverPage);

    connect(browseButton, &QPushButton::clicked, this, &CDataSourceDialog::Browse);
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!ConnectionString().empty())
            accept();
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CDataSourceDialog::UpdateOkButton);
    connect(m_fileEdit, &QLineEdit::textChanged, this, &CDataSourceDialog::UpdateOkButton);
    for (QTreeWidget *list : {m_machineList, m_driverList}) {
        connect(list, &QTreeWidget::itemSelectionChanged, this, &CDataSourceDialog::UpdateOkButton);
        connect(list, &QTreeWidget::itemDoubleClicked, this, [this] {
            if (!ConnectionString().empty())
                accept();
        });
    }
    UpdateOkButton();
    resize(520, 380);
}

std::optional<std::string> CDataSourceDialog::Choose(QWidget *parent, BrowseFunction browse) {
    CDataSourceDialog dialog(parent, std::move(browse));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::string connect = dialog.ConnectionString();
    if (connect.empty())
        return std::nullopt;
    return connect;
}

void CDataSourceDialog::FillLists() {
    // A driver manager that cannot list leaves that list empty; the other
    // ways of choosing still work.
    const struct {
        SQLUSMALLINT direction;
        QString type;
    } kinds[] = {{SQL_FETCH_FIRST_USER, tr("User")}, {SQL_FETCH_FIRST_SYSTEM, tr("System")}};
    for (const auto &kind : kinds) {
        try {
            for (const DataSourceEntry &entry : ListDataSources(kind.direction))
                AddRow(m_machineList, entry.name,
                       {kind.type, QString::fromStdString(entry.description)});
        } catch (const DatabaseError &) {
        }
    }
    try {
        for (const DriverEntry &driver : ListDrivers())
            AddRow(m_driverList, driver.name, {QString::fromStdString(DriverDescription(driver))});
    } catch (const DatabaseError &) {
    }
    for (QTreeWidget *list : {m_machineList, m_driverList}) {
        for (int column = 0; column < list->columnCount() - 1; ++column)
            list->resizeColumnToContents(column);
    }
}

void CDataSourceDialog::Browse() {
    QString path;
    if (m_browse) {
        path = m_browse();
    } else {
        path = QFileDialog::getOpenFileName(this, tr("Select File Data Source"), QString(),
                                            tr("Data Source Files (*.dsn)"));
    }
    if (path.isEmpty())
        return;
    m_fileEdit->setText(path);
    m_tabs->setCurrentIndex(FilePage);
}

void CDataSourceDialog::UpdateOkButton() {
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!ConnectionString().empty());
}

std::string CDataSourceDialog::ConnectionString() const {
    const std::string extras = m_attributesEdit->text().toStdString();
    switch (m_tabs->currentIndex()) {
    case FilePage:
        return BuildConnectionString(
            Source::File, QFile::encodeName(m_fileEdit->text().trimmed()).toStdString(), extras);
    case MachinePage:
    case DriverPage: {
        const bool machine = m_tabs->currentIndex() == MachinePage;
        // The selection, not the current item: a list given focus has a
        // current item the user never chose.
        const QList<QTreeWidgetItem *> chosen =
            (machine ? m_machineList : m_driverList)->selectedItems();
        if (chosen.isEmpty())
            return {};
        const QTreeWidgetItem *item = chosen.front();
        return BuildConnectionString(machine ? Source::Machine : Source::Driver,
                                     item->data(0, BytesRole).toByteArray().toStdString(), extras);
    }
    default:
        return {};
    }
}

std::string CDataSourceDialog::BuildConnectionString(Source source, const std::string &name,
                                                     const std::string &extras) {
    if (name.empty())
        return {};
    const std::string more = TrimExtras(extras);
    switch (source) {
    case Source::Machine:
        return "DSN=" + name + ";" + more;
    case Source::Driver:
        return "DRIVER={" + name + "};" + more;
    case Source::File: {
        // A path with ";" in it has to be braced, or its tail reads as a key.
        return "FILEDSN=" + ConnectString::Braced(name) +
               (more.empty() ? std::string() : ";" + more);
    }
    }
    return {};
}
