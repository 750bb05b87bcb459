-- The roles of a team's case library on a PostgreSQL server. Run it once as the owner of the
-- library's database, after the program or "ravelin-cli library --db URL list" has made its
-- tables:
--     psql "postgresql://owner@server/ravelin" -f scripts/library-roles.sql
-- then give each reviewer a login in the group:
--     CREATE ROLE anna LOGIN IN ROLE ravelin_reviewers;   (a password with \password anna)
-- Reviewers index cases, keep their review status and locks, and append to the audit trail;
-- they can read the trail but never change or remove a line of it (the table also refuses
-- UPDATE, DELETE and TRUNCATE to everybody, its owner included).
DO $$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'ravelin_reviewers') THEN
        CREATE ROLE ravelin_reviewers NOLOGIN;
    END IF;
END
$$;
GRANT CONNECT ON DATABASE :"DBNAME" TO ravelin_reviewers;
GRANT USAGE ON SCHEMA public TO ravelin_reviewers;
GRANT SELECT ON schema_version TO ravelin_reviewers;
GRANT SELECT, INSERT, UPDATE, DELETE ON cases, shocks, review_status, review_locks TO ravelin_reviewers;
GRANT SELECT, INSERT ON audit TO ravelin_reviewers;
GRANT USAGE ON SEQUENCE audit_id_seq TO ravelin_reviewers;
