#pragma once
// 客户订货目标设置: the amount each client is expected to order within an
// order batch (the batches kept for d_order in ba_BatchInfo). A client has
// one target per batch. Clients are typed or picked in the client selection
// dialog: picking adds a saved row at 0 for each client the batch does not
// list yet. "批次维护" keeps the batches and puts the chosen one into the
// row being edited.
#include "dicteditor.h"

class TRemoteUdpDataSet;

class Tfrm_orderTarget : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_orderTarget(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBbatch;   // the batches of d_order, the batch column's list
    TRemoteUdpDataSet* DBclient;  // the clients, for the look-ups and the typed-code check
    QAction* batch_action;        // "批次维护", where the find button stands

    static QString BatchListSQL();

    // The selection button of the client code: picked clients become rows of
    // the current row's batch.
    void fClientCodeButtonClick();

  protected:
    void FormCreate() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;
    virtual void batch_actionExecute();

  private:
    bool pairListedElsewhere(const QString& batch, const QString& client) const;
};
