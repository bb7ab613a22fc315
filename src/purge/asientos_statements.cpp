#include "purge/asientos_statements.h"

namespace purge::asientos {

std::string EjercicioSql(const std::string& codigo) {
    return "SELECT * FROM MV_EJERCICIOS WHERE CONVERT(INT,PERIODO) = " + codigo;
}

std::string CountSql(const std::string& fecha) {
    return "select count(fecha) as registros from mv_asientos where FECHA <= '" + fecha + "'";
}

std::string BatchSql(long n, const std::string& fecha) {
    return "DELETE mv_asientos from (select TOP " + std::to_string(n) +
           " * from MV_ASIENTOS WHERE FECHA <= '" + fecha +
           "') as mv_T1 where mv_asientos.Cuenta = mv_t1.cuenta and mv_asientos.Secuencia = "
           "mv_t1.Secuencia and mv_asientos.Mes_operativo = mv_t1.mes_operativo and "
           "mv_asientos.[NUMERO ASIENTO]= MV_T1.[NUMERO ASIENTO] AND MV_ASIENTOS.PERIODO = "
           "MV_T1.PERIODO AND MV_ASIENTOS.TIPO_REG = MV_T1.TIPO_REG ";
}

std::string FinalSql(const std::string& fecha) {
    return "DELETE MV_ASIENTOS WHERE FECHA <= '" + fecha + "'";
}

}  // namespace purge::asientos
