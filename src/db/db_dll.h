#pragma once
// The database object: the one connection of the program and the statement, recordset,
// lookup, dialect and schema operations every subsystem runs through.
//
// Parameters that the operations rewrite in the caller's variable are taken by non-const
// reference; the const overloads are for callers that pass a fixed text.
#include <cstdint>
#include <string>

#include "clientlib/utility_services.h"
#include "db/connection_dialog.h"
#include "platform/adodb/connection.h"
#include "platform/adodb/variant.h"

namespace db {

using adodb::Variant;

class DB_Dll {
  public:
    DB_Dll();

    // Connection properties and flags.
    bool gOpenFlag = false;
    adodb::Connection gCnn;
    std::string gProveedor;
    std::string gServidor;
    std::string gDbName;
    std::string gUsuario;
    std::string gUserPassWord;
    bool gEsAdmin = false;
    std::string gConnString;
    std::string gExtended;

    // The connection dialog used by OpenServerADODB (the start-up installs the real one).
    void SetDialogFactory(ConnectionDialogFactory factory) { dialogFactory_ = std::move(factory); }

    Variant BuscaMaximo(const std::string& QueTabla, const std::string& QueCampo,
                        const Variant& Tipo = Variant::Missing(),
                        const Variant& Condicion = Variant::Missing());
    Variant BuscaMinimo(const std::string& QueTabla, const std::string& QueCampo,
                        const Variant& Tipo = Variant::Missing(),
                        const Variant& Condicion = Variant::Missing());
    void OpenServerADODB(bool PideParametrosSQL = false, std::int32_t lCursor = adodb::kUseClient,
                         const std::string& ConnString = "", bool ValidaAdmin = true);
    void OpenLocalADODB(const std::string& ConnString = "", const std::string& CadenaID = "User Id",
                        const std::string& CadenaPWD = "Password");
    bool ExisteEnTablaST(const std::string& Tabla, const std::string& ValorBuscado,
                         const std::string& Campo = "Codigo", adodb::Recordset* Lrcs = nullptr,
                         const Variant& TipoDato = Variant(std::int32_t{adodb::dtype::kBSTR}),
                         const std::string& Condicion = "", bool SoloLectura = false);
    bool ExisteEnTabla(const std::string& Tabla, const std::string& ValorBuscado,
                       const std::string& Campo = "Codigo", adodb::Recordset* Lrcs = nullptr,
                       const Variant& TipoDato = Variant(std::int32_t{adodb::dtype::kBSTR}),
                       const std::string& Condicion = "");
    Variant DatosTabla(const std::string& Tabla, const std::string& ValorBuscado,
                       const std::string& CampoDevuelto, const std::string& Campo = "Codigo",
                       const Variant& TipoDato = Variant(std::int32_t{adodb::dtype::kBSTR}),
                       const std::string& Condicion = "", bool UsaTrim = true);
    bool adodate(const Variant& Qtype) const;
    bool ADOText(const Variant& Qtype) const;
    bool ADONumeric(const Variant& Qtype) const;
    bool ADOCurrency(const Variant& Qtype) const;
    bool ADOBoolean(const Variant& Qtype) const;
    void CierraRecordset(adodb::Recordset& LrcsTemp);
    void QConsulta(const std::string& TB, const Variant& Rsp, const std::string& Cl1,
                   const std::string& Cl2, const std::string& CmpDisplay = "Codigo",
                   const Variant& SQLWHERE = Variant::Missing());
    void QGridConsulta(const std::string& Sentencia, const std::string& CampoDevuelto1,
                       const std::string& gCnnString,
                       const Variant& CampoDevuelto2 = Variant::Missing(),
                       const Variant& CampoDevuelto3 = Variant::Missing());
    std::string stSTF(std::string& rsName, std::int16_t rnPart);
    std::string AddBrackets(const std::string& rObjName) const;
    std::string StripConnect(const std::string& rsTblName) const;
    std::string StripBrackets(const std::string& rsObjName) const;
    std::string StripOwner(std::string& rsTblName) const;
    std::string StripFileName(const std::string& rsFileName) const;
    void EjecutaConsultaSQL(std::string& SentenciaSQL, long& RecordsAffected);
    void EjecutaConsultaSQL(std::string& SentenciaSQL);
    void EjecutaConsultaSQL(const std::string& SentenciaSQL);
    void AbrirRecordset(std::string& SentenciaSQL, adodb::Recordset& Lrcs,
                        adodb::Connection* ConexionActiva = nullptr, std::int32_t CursorType = 0,
                        std::int32_t LockType = 1, std::int32_t Options = -1,
                        bool ConvOracle = true);
    void AbrirRecordset(const std::string& SentenciaSQL, adodb::Recordset& Lrcs,
                        adodb::Connection* ConexionActiva = nullptr, std::int32_t CursorType = 0,
                        std::int32_t LockType = 1, std::int32_t Options = -1,
                        bool ConvOracle = true);
    std::string ORACLE_Dicc(const std::string& Valor);
    Variant BuscaUltimoCodigo(const std::string& QueTabla, const std::string& QueCampo,
                              const Variant& Tipo = Variant(std::int32_t{adodb::dtype::kBSTR}),
                              const std::string& Condicion = "");
    std::string pJETOLEDB40() const { return "Microsoft.Jet.OLEDB.4.0"; }
    std::string pJETOLEDB35() const { return "Microsoft.Jet.OLEDB.3.51"; }
    std::string pSQLOLEDB() const { return "SQLOLEDB"; }
    Variant SQLValue(Variant Valor, const std::string& Tipo = "'");
    void AddField(const std::string& Tabla, const std::string& Campo, const std::string& Tipo,
                  bool PermiteNulos, const Variant& ValorDefault = Variant::Missing());
    bool ExisteTablaDB(const std::string& Tabla);
    bool ExisteCampoDB(const std::string& Tabla, const std::string& Campo);
    bool VerCampoDB(const std::string& Tabla, const std::string& Campo, bool Agregar = true,
                    const std::string& Tipo = "", bool PermiteNulos = false,
                    const Variant& ValorDefault = Variant::Missing());
    std::string SS_TSinonimos(const std::string& SQL) const;

  private:
    std::string FiltraSentenciaOracle(std::string& statement);
    void EjecutaScriptOracle(std::string& script, long& records);

    // Connection opening.
    void BuildConnString();
    void RunConnectionDialog();
    void CheckAdministrator();

    clientlib::UtilityServices& Utils();
    ConnectionDialogFactory dialogFactory_;
    clientlib::UtilityServices utils_;
};

// The program's one database object, created on first use.
DB_Dll& Db();

}  // namespace db
