#include "tsql/pgruntime.h"

namespace md::sql {

// Dates are stored as timestamp(0), date and time(0); text becomes a date
// through md_datetime, which reads what SQL Server reads ('yyyy-MM-dd',
// 'yyyy/M/d', 'yyyyMMdd', with or without a time, and the Chinese 年月日) and
// takes blank text as 1900-01-01. Keys for the key views are random, drawn
// from the server's cryptographic source (md_newid).
QString pgRuntimeScript() {
    return QStringLiteral(R"SQL(
DO $$ BEGIN
  IF NOT EXISTS (SELECT 1 FROM pg_collation WHERE collname = 'md_ci') THEN
    CREATE COLLATION md_ci (provider = icu, locale = 'zh-u-kr-latn-hani-ks-level2', deterministic = false);
  END IF;
  IF NOT EXISTS (SELECT 1 FROM pg_type WHERE typname = 'md_bit') THEN
    CREATE DOMAIN md_bit AS smallint;
  END IF;
  IF NOT EXISTS (SELECT 1 FROM pg_type WHERE typname = 'md_money') THEN
    CREATE DOMAIN md_money AS numeric(19,4);
  END IF;
END $$;

CREATE OR REPLACE FUNCTION md_datetime(v text) RETURNS timestamp LANGUAGE plpgsql STABLE AS $f$
DECLARE t text COLLATE "default";
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  t := btrim(v COLLATE "default");
  IF t = '' THEN RETURN timestamp '1900-01-01'; END IF;
  t := replace(replace(replace(t, '年', '-'), '月', '-'), '日', '');
  IF t ~ '^\d{1,2}:\d' THEN t := '1900-01-01 ' || t; END IF;
  IF t !~ '^\d{4}[-/.]\d{1,2}[-/.]\d{1,2}([ T]\d{1,2}:\d{1,2}(:\d{1,2}(\.\d+)?)?)?$'
     AND t !~ '^\d{8}([ T]\d{1,2}:\d{1,2}(:\d{1,2}(\.\d+)?)?)?$' THEN
    RAISE EXCEPTION '从字符串转换日期和/或时间时，转换失败。' USING ERRCODE = '22007';
  END IF;
  RETURN date_trunc('second', regexp_replace(t, '^(\d{4})\.(\d{1,2})\.', '\1-\2-')::timestamp);
EXCEPTION WHEN datetime_field_overflow OR invalid_datetime_format THEN
  RAISE EXCEPTION '从字符串转换日期和/或时间时，转换失败。' USING ERRCODE = '22007';
END $f$;

CREATE OR REPLACE FUNCTION md_datetime(v timestamp) RETURNS timestamp LANGUAGE sql IMMUTABLE AS
  $f$ SELECT date_trunc('second', v) $f$;
CREATE OR REPLACE FUNCTION md_datetime(v double precision) RETURNS timestamp LANGUAGE sql IMMUTABLE AS
  $f$ SELECT date_trunc('second', timestamp '1900-01-01' + v * interval '1 day') $f$;

CREATE OR REPLACE FUNCTION md_date(v text) RETURNS date LANGUAGE sql STABLE AS $f$ SELECT md_datetime(v)::date $f$;
CREATE OR REPLACE FUNCTION md_date(v timestamp) RETURNS date LANGUAGE sql IMMUTABLE AS $f$ SELECT v::date $f$;
CREATE OR REPLACE FUNCTION md_date(v double precision) RETURNS date LANGUAGE sql IMMUTABLE AS
  $f$ SELECT md_datetime(v)::date $f$;
CREATE OR REPLACE FUNCTION md_time(v text) RETURNS time LANGUAGE sql STABLE AS
  $f$ SELECT md_datetime(v)::time(0) $f$;

CREATE OR REPLACE FUNCTION md_year(v timestamp) RETURNS integer LANGUAGE sql IMMUTABLE AS
  $f$ SELECT extract(year FROM v)::integer $f$;
CREATE OR REPLACE FUNCTION md_year(v text) RETURNS integer LANGUAGE sql STABLE AS
  $f$ SELECT extract(year FROM md_datetime(v))::integer $f$;
CREATE OR REPLACE FUNCTION md_month(v timestamp) RETURNS integer LANGUAGE sql IMMUTABLE AS
  $f$ SELECT extract(month FROM v)::integer $f$;
CREATE OR REPLACE FUNCTION md_month(v text) RETURNS integer LANGUAGE sql STABLE AS
  $f$ SELECT extract(month FROM md_datetime(v))::integer $f$;
CREATE OR REPLACE FUNCTION md_day(v timestamp) RETURNS integer LANGUAGE sql IMMUTABLE AS
  $f$ SELECT extract(day FROM v)::integer $f$;
CREATE OR REPLACE FUNCTION md_day(v text) RETURNS integer LANGUAGE sql STABLE AS
  $f$ SELECT extract(day FROM md_datetime(v))::integer $f$;

-- A date as text in one of convert()'s styles, cut to the target length.
CREATE OR REPLACE FUNCTION md_datestr(v timestamp, style integer, len integer) RETURNS text
LANGUAGE sql IMMUTABLE AS $f$
  SELECT CASE WHEN len > 0 THEN left(s, len) ELSE s END FROM (SELECT CASE style
    WHEN 23 THEN to_char(v, 'YYYY-MM-DD')
    WHEN 112 THEN to_char(v, 'YYYYMMDD')
    WHEN 111 THEN to_char(v, 'YYYY/MM/DD')
    WHEN 102 THEN to_char(v, 'YYYY.MM.DD')
    WHEN 8 THEN to_char(v, 'HH24:MI:SS')
    WHEN 108 THEN to_char(v, 'HH24:MI:SS')
    WHEN 21 THEN to_char(v, 'YYYY-MM-DD HH24:MI:SS.MS')
    WHEN 121 THEN to_char(v, 'YYYY-MM-DD HH24:MI:SS.MS')
    ELSE to_char(v, 'YYYY-MM-DD HH24:MI:SS') END AS s) x
$f$;
CREATE OR REPLACE FUNCTION md_datestr(v time, style integer, len integer) RETURNS text LANGUAGE sql IMMUTABLE AS
  $f$ SELECT md_datestr(timestamp '1900-01-01' + v, style, len) $f$;
CREATE OR REPLACE FUNCTION md_datestr(v text, style integer, len integer) RETURNS text LANGUAGE plpgsql STABLE AS $f$
BEGIN
  RETURN md_datestr(md_datetime(v), style, len);
EXCEPTION WHEN invalid_datetime_format THEN
  RETURN CASE WHEN len > 0 THEN left(v, len) ELSE v END;
END $f$;

-- A number as text: scale >= 0 prints that many decimals (money, decimal);
-- otherwise integers print without decimals and fractions as they are.
CREATE OR REPLACE FUNCTION md_varchar(v numeric, len integer, scale integer) RETURNS text
LANGUAGE sql IMMUTABLE AS $f$
  SELECT CASE WHEN len > 0 THEN left(s, len) ELSE s END FROM (SELECT CASE
    WHEN scale >= 0 THEN round(v, scale)::text
    WHEN v = trunc(v) THEN trunc(v)::text
    ELSE rtrim(v::text, '0') END AS s) x
$f$;
CREATE OR REPLACE FUNCTION md_varchar(v double precision, len integer, scale integer) RETURNS text
LANGUAGE sql IMMUTABLE AS $f$
  SELECT CASE WHEN scale = -2 OR v <> v THEN (CASE WHEN len > 0 THEN left(v::text, len) ELSE v::text END)
    ELSE md_varchar(v::numeric, len, scale) END
$f$;
CREATE OR REPLACE FUNCTION md_varchar(v text, len integer, scale integer) RETURNS text LANGUAGE sql IMMUTABLE AS
  $f$ SELECT CASE WHEN len > 0 THEN left(v, len) ELSE v END $f$;

CREATE OR REPLACE FUNCTION md_int(v text) RETURNS bigint LANGUAGE plpgsql IMMUTABLE AS $f$
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF btrim(v) = '' THEN RETURN 0; END IF;
  IF btrim(v COLLATE "default") !~ '^[+-]?\d+$' THEN
    RAISE EXCEPTION '在将 varchar 值 ''%'' 转换成数据类型 int 时失败。', v USING ERRCODE = '22018';
  END IF;
  RETURN btrim(v)::bigint;
END $f$;
CREATE OR REPLACE FUNCTION md_int(v double precision) RETURNS bigint LANGUAGE sql IMMUTABLE AS
  $f$ SELECT trunc(v)::bigint $f$;

CREATE OR REPLACE FUNCTION md_decimal(v text, scale integer) RETURNS numeric LANGUAGE plpgsql IMMUTABLE AS $f$
DECLARE n numeric;
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF btrim(v) = '' THEN RETURN 0; END IF;
  BEGIN
    n := btrim(v)::numeric;
  EXCEPTION WHEN invalid_text_representation THEN
    RAISE EXCEPTION '从数据类型 varchar 转换为 numeric 时出错。' USING ERRCODE = '22018';
  END;
  RETURN CASE WHEN scale >= 0 THEN round(n, scale) ELSE n END;
END $f$;
CREATE OR REPLACE FUNCTION md_decimal(v numeric, scale integer) RETURNS numeric LANGUAGE sql IMMUTABLE AS
  $f$ SELECT CASE WHEN scale >= 0 THEN round(v, scale) ELSE v END $f$;
CREATE OR REPLACE FUNCTION md_decimal(v double precision, scale integer) RETURNS numeric LANGUAGE sql IMMUTABLE AS
  $f$ SELECT md_decimal(v::numeric, scale) $f$;

CREATE OR REPLACE FUNCTION md_float(v text) RETURNS double precision LANGUAGE plpgsql IMMUTABLE AS $f$
BEGIN
  RETURN btrim(v)::double precision;
EXCEPTION WHEN invalid_text_representation THEN
  RAISE EXCEPTION '从数据类型 varchar 转换为 float 时出错。' USING ERRCODE = '22018';
END $f$;

CREATE OR REPLACE FUNCTION md_bit(v text) RETURNS smallint LANGUAGE plpgsql IMMUTABLE AS $f$
DECLARE t text COLLATE "default" := btrim(v COLLATE "default");
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF lower(t) = 'true' THEN RETURN 1; END IF;
  IF lower(t) = 'false' THEN RETURN 0; END IF;
  RETURN CASE WHEN t::double precision <> 0 THEN 1 ELSE 0 END;
EXCEPTION WHEN invalid_text_representation THEN
  RAISE EXCEPTION '在将 varchar 值 ''%'' 转换成数据类型 bit 时失败。', t USING ERRCODE = '22018';
END $f$;

-- charindex ignores case, as under SQL Server's default collation.
CREATE OR REPLACE FUNCTION md_charindex(needle text, haystack text) RETURNS integer LANGUAGE sql IMMUTABLE AS
  $f$ SELECT CASE WHEN needle = '' THEN 0
    ELSE strpos(lower(haystack COLLATE "default"), lower(needle COLLATE "default")) END $f$;
CREATE OR REPLACE FUNCTION md_charindex(needle text, haystack text, start integer) RETURNS integer
LANGUAGE sql IMMUTABLE AS $f$
  SELECT CASE WHEN needle = '' THEN 0 ELSE
    (SELECT CASE WHEN p = 0 THEN 0 ELSE p + s - 1 END FROM
      (SELECT greatest(start, 1) AS s,
              strpos(lower(substr(haystack COLLATE "default", greatest(start, 1))), lower(needle COLLATE "default")) AS p) x)
  END
$f$;

-- Fresh keys for the key views: a GUID-shaped text of 32 characters over 0-9
-- and A-Z whose first twelve the views take. Every character comes from the
-- server's cryptographic source (the random bytes of gen_random_uuid); bytes 6
-- and 8 of a uuid carry its version and variant and are skipped, and bytes
-- from 252 = 7 * 36 up are skipped too, so that every symbol is as likely.
-- Coupon barcodes are such keys: none can be guessed from the others.
CREATE OR REPLACE FUNCTION md_newid() RETURNS text LANGUAGE plpgsql VOLATILE AS $f$
DECLARE
  symbols constant text := '0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ';
  k text := '';
  bytes bytea;
  b integer;
BEGIN
  WHILE length(k) < 32 LOOP
    bytes := uuid_send(gen_random_uuid());
    FOR i IN 0..15 LOOP
      CONTINUE WHEN i = 6 OR i = 8;
      b := get_byte(bytes, i);
      IF b < 252 THEN k := k || substr(symbols, b % 36 + 1, 1); END IF;
    END LOOP;
  END LOOP;
  RETURN substr(k, 1, 8) || '-' || substr(k, 9, 4) || '-' || substr(k, 13, 4) || '-' ||
         substr(k, 17, 4) || '-' || substr(k, 21, 12);
END $f$;

-- What the keys were made of before: a sequence through a keyed permutation.
DROP FUNCTION IF EXISTS md_permute48(bigint, bigint);
DROP FUNCTION IF EXISTS md_mix64(bigint);
DROP FUNCTION IF EXISTS md_shr(bigint, integer);
DROP FUNCTION IF EXISTS md_u64(bigint);
DROP FUNCTION IF EXISTS md_wrap64(numeric);
DROP SEQUENCE IF EXISTS md_newid_seq;
)SQL");
}

}  // namespace md::sql
